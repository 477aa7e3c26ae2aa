// The CIF reader on small structures whose expanded cells were worked out independently: by
// hand (NaCl, partial occupancy, data blocks) or with ASE (tests/data/structure/
// make_expected.py).
#include "structure/cif_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::read_data;

struct expected_atom {
    std::string label;
    vec3d f;
};

std::vector<expected_atom> expected_from(const std::string& relative) {
    std::istringstream in(read_data(relative));
    std::vector<expected_atom> atoms;
    expected_atom a;
    while (in >> a.label >> a.f[0] >> a.f[1] >> a.f[2]) atoms.push_back(a);
    return atoms;
}

// Every expected atom matched by exactly one read atom of the same label at the same place
// (1e-5 in fractional coordinates, over lattice translations); positions within [0, 1).
void expect_same_atoms(const std::vector<structure_atom>& got,
                       const std::vector<expected_atom>& expected, bool wrapped) {
    ASSERT_EQ(got.size(), expected.size());
    std::vector<bool> used(got.size(), false);
    for (const expected_atom& e : expected) {
        bool found = false;
        for (std::size_t i = 0; i < got.size() && !found; ++i) {
            if (used[i] || got[i].label != e.label) continue;
            bool close = true;
            for (std::size_t k = 0; k < 3; ++k) {
                const double d = got[i].fractional[k] - e.f[k];
                close = close && std::fabs(wrapped ? d - std::round(d) : d) < 1e-5;
            }
            if (close) used[i] = found = true;
        }
        EXPECT_TRUE(found) << e.label << " " << e.f[0] << " " << e.f[1] << " " << e.f[2];
    }
    if (!wrapped) return;
    for (const structure_atom& a : got) {
        for (double v : a.fractional) {
            EXPECT_TRUE(v >= 0.0 && v < 1.0) << a.label << " " << v;
        }
    }
}

struct cif_case {
    const char* name;
    const char* file;
    const char* wanted_block;
    bool asymmetric_unit;
    std::vector<expected_atom> atoms;  // empty: expected/<file stem>.txt
    std::string block;
    std::string space_group;
    cell_parameters cell;
    std::size_t sites;
    std::size_t partial;
};

TEST(CifReader, ExpandsSitesIntoTheWholeCell) {
    const cell_parameters nacl{{5.6402, 5.6402, 5.6402}, {90, 90, 90}};
    const cell_parameters p21c{{7.1021, 8.2035, 9.3012}, {90, 101.52, 90}};
    const cell_parameters hall{{5, 6, 7}, {90, 90, 90}};
    const cell_parameters quartz{{4.9134, 4.9134, 5.4052}, {90, 90, 120}};
    const cif_case cases[] = {
        // Fm-3m: 192 operations put Na on the four face-centring positions and Cl on the
        // four edge and body centres.
        {"NaCl from its H-M name only",
         "nacl_hm.cif",
         "",
         false,
         {{"Na1", {0, 0, 0}},
          {"Na1", {0, 0.5, 0.5}},
          {"Na1", {0.5, 0, 0.5}},
          {"Na1", {0.5, 0.5, 0}},
          {"Cl1", {0.5, 0.5, 0.5}},
          {"Cl1", {0.5, 0, 0}},
          {"Cl1", {0, 0.5, 0}},
          {"Cl1", {0, 0, 0.5}}},
         "NaCl",
         "F m -3 m",
         nacl,
         2,
         0},
        {"operations loop, numbers with uncertainties",
         "p21c_symops.cif",
         "",
         false,
         {},
         "p21c",
         "of 4 operations",
         p21c,
         2,
         0},
        {"Hall symbol only",
         "p212121_hall.cif",
         "",
         false,
         {},
         "hall",
         "Hall P 2ac 2ab",
         hall,
         2,
         0},
        {"hexagonal operations mixing coordinates, copies on a two-fold axis coincide",
         "quartz_p3221.cif",
         "",
         false,
         {},
         "quartz",
         "P 32 2 1",
         quartz,
         2,
         0},
        {"asymmetric unit: the sites as listed, not wrapped",
         "p21c_symops.cif",
         "",
         true,
         {{"C1", {0.12345, 0.23456, 0.34567}}, {"H1", {0.9012, -0.1034, 0.0523}}},
         "p21c",
         "of 4 operations",
         p21c,
         2,
         0},
        // P-1: the shared site at the origin is its own image; O1 has two copies.
        {"partial occupancy keeps every site",
         "partial.cif",
         "",
         false,
         {{"Si1", {0, 0, 0}}, {"Al1", {0, 0, 0}}, {"O1", {0.2, 0.3, 0.4}}, {"O1", {0.8, 0.7, 0.6}}},
         "partial",
         "P -1",
         {{5, 6, 7}, {90, 90, 90}},
         3,
         2},
        {"first block with atoms",
         "blocks.cif",
         "",
         false,
         {{"A1", {0.1, 0.2, 0.3}}},
         "first",
         "P 1",
         {{4, 4, 4}, {90, 90, 90}},
         1,
         0},
        {"block chosen by name, in any letter case",
         "blocks.cif",
         "SECOND",
         false,
         {{"B1", {0.5, 0.5, 0.5}}, {"B2", {0.25, 0.25, 0.25}}},
         "second",
         "P 1",
         {{5, 5, 5}, {90, 90, 90}},
         2,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string stem = std::string(c.file).substr(0, std::string(c.file).find('.'));
        crystal_structure s;
        std::string error;
        const cif_request request{c.wanted_block, c.asymmetric_unit};
        ASSERT_TRUE(
            read_cif(read_data(std::string("structure/") + c.file), c.file, request, s, error))
            << error;
        expect_same_atoms(
            s.atoms,
            c.atoms.empty() ? expected_from("structure/expected/" + stem + ".txt") : c.atoms,
            !c.asymmetric_unit);
        EXPECT_EQ(s.block, c.block);
        EXPECT_EQ(s.space_group, c.space_group);
        EXPECT_EQ(s.cell.length, c.cell.length);
        EXPECT_EQ(s.cell.angle, c.cell.angle);
        EXPECT_EQ(s.site_count, c.sites);
        EXPECT_EQ(s.partial_sites, c.partial);
        EXPECT_EQ(s.asymmetric_unit, c.asymmetric_unit);
    }
}

// Where the file names its symmetry more than once, the operations loop counts first, then
// the Hall symbol, the H-M name, the number. Each case gives P1 first and P-1 after it, so the
// count of atoms (one site in a general position) tells which was used.
TEST(CifReader, SymmetrySourcesInOrder) {
    const struct {
        const char* name;
        const char* symmetry;
        std::size_t atoms;
    } cases[] = {
        {"operations loop before H-M name",
         "loop_\n_space_group_symop_operation_xyz\nx,y,z\n_space_group_name_H-M_alt 'P -1'\n", 1},
        {"Hall symbol before H-M name",
         "_space_group_name_Hall 'P 1'\n_symmetry_space_group_name_H-M 'P -1'\n", 1},
        {"H-M name before number",
         "_symmetry_space_group_name_H-M 'P 1'\n_space_group_IT_number 2\n", 1},
        {"number alone", "_symmetry_Int_Tables_number 2\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = std::string(
                                     "data_s\n_cell_length_a 5\n_cell_length_b 6\n"
                                     "_cell_length_c 7\n_cell_angle_alpha 90\n"
                                     "_cell_angle_beta 90\n_cell_angle_gamma 90\n") +
                                 c.symmetry +
                                 "loop_\n_atom_site_label\n_atom_site_fract_x\n"
                                 "_atom_site_fract_y\n_atom_site_fract_z\nC1 0.1 0.2 0.3\n";
        crystal_structure s;
        std::string error;
        ASSERT_TRUE(read_cif(text, "s.cif", {}, s, error)) << error;
        EXPECT_EQ(s.atoms.size(), c.atoms);
    }
}

// Copies of a site nearer than 0.01 Angstrom are one atom; farther ones, as a hydrogen and
// its image across a mirror 0.02 Angstrom away, are two.
TEST(CifReader, MergesOnlyCopiesCloserThanAHundredthOfAnAngstrom) {
    const struct {
        const char* name;
        const char* z;
        std::size_t atoms;
    } cases[] = {
        {"0.006 Angstrom apart", "0.0003", 1},
        {"0.02 Angstrom apart", "0.001", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Cell c = 10 Angstrom; the mirror x,y,-z puts the copy 2 z c away.
        const std::string text = std::string(
                                     "data_m\n_cell_length_a 10\n_cell_length_b 10\n"
                                     "_cell_length_c 10\n_cell_angle_alpha 90\n"
                                     "_cell_angle_beta 90\n_cell_angle_gamma 90\n"
                                     "loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\nx,y,-z\n"
                                     "loop_\n_atom_site_label\n_atom_site_fract_x\n"
                                     "_atom_site_fract_y\n_atom_site_fract_z\nH1 0.5 0.5 ") +
                                 c.z + "\n";
        crystal_structure s;
        std::string error;
        ASSERT_TRUE(read_cif(text, "m.cif", {}, s, error)) << error;
        EXPECT_EQ(s.atoms.size(), c.atoms);
    }
}

}  // namespace
}  // namespace orvix

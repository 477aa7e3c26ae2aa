// The CIF reader on small structures whose expanded cells were worked out independently: by
// hand (tests/data/structure/by_hand) or with ASE (tests/data/structure/make_expected.py
// writes tests/data/structure/expected).
#include "structure/cif_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>

#include "support/case_file.h"

namespace orvix {
namespace {

using test::read_data;

// Every expected atom ("label x y z" lines) matched by exactly one read atom of the same label
// at the same place (1e-5, over lattice translations when wrapped, where every coordinate
// must lie in [0, 1)).
void expect_atoms(const std::vector<structure_atom>& got, const std::string& expected_file,
                  bool wrapped) {
    std::istringstream in(read_data("structure/" + expected_file));
    std::vector<bool> used(got.size(), false);
    std::string label;
    vec3d f;
    std::size_t count = 0;
    for (; in >> label >> f[0] >> f[1] >> f[2]; ++count) {
        bool found = false;
        for (std::size_t i = 0; i < got.size() && !found; ++i) {
            bool close = !used[i] && got[i].label == label;
            for (std::size_t k = 0; k < 3; ++k) {
                const double d = got[i].fractional[k] - f[k];
                close = close && std::fabs(wrapped ? d - std::round(d) : d) < 1e-5;
            }
            used[i] = found = close;
        }
        EXPECT_TRUE(found) << label << " " << f[0] << " " << f[1] << " " << f[2];
    }
    EXPECT_EQ(got.size(), count);
    for (const structure_atom& a : got)
        for (double v : a.fractional)
            EXPECT_TRUE(!wrapped || (v >= 0.0 && v < 1.0)) << a.label << " " << v;
}

// Cases in tests/data/structure/cif_cases.tsv.
TEST(CifReader, ExpandsSitesIntoTheWholeCell) {
    for (const auto& c : test::read_cases("structure/cif_cases.tsv")) {
        SCOPED_TRACE(c.at(3));
        crystal_structure s;
        std::string error;
        const bool asymmetric = c.at(2) == "1";
        ASSERT_TRUE(read_cif(read_data("structure/" + c[0]), c[0], {c.at(1), asymmetric}, s, error))
            << error;
        expect_atoms(s.atoms, c[3], !asymmetric);
        EXPECT_EQ(s.block, c.at(4));
        EXPECT_EQ(s.space_group, c.at(5));
        std::istringstream cell(c.at(6));
        vec3d length, angle;
        cell >> length[0] >> length[1] >> length[2] >> angle[0] >> angle[1] >> angle[2];
        EXPECT_EQ(s.cell.length, length);
        EXPECT_EQ(s.cell.angle, angle);
        EXPECT_EQ(s.site_count, std::stoul(c.at(7)));
        EXPECT_EQ(s.partial_sites, std::stoul(c.at(8)));
        EXPECT_EQ(s.asymmetric_unit, asymmetric);
    }
}

// The operations loop counts first, then the Hall symbol, the H-M name, the number: each case
// gives P1 first and P-1 after it, and one site in a general position tells which was used.
// And copies of a site nearer than 0.01 Angstrom are one atom: the mirror x,y,-z puts the copy
// of z = 0.0003 0.006 Angstrom away, of z = 0.001 0.02 Angstrom.
TEST(CifReader, SymmetrySourcesInOrderAndCopiesMerged) {
    // clang-format off
    const std::tuple<std::string, const char*, std::size_t> cases[] = {
        {"loop_\n_space_group_symop_operation_xyz\nx,y,z\n_space_group_name_H-M_alt 'P -1'\n", "0.3", 1},
        {"_space_group_name_Hall 'P 1'\n_symmetry_space_group_name_H-M 'P -1'\n", "0.3", 1},
        {"_symmetry_space_group_name_H-M 'P 1'\n_space_group_IT_number 2\n", "0.3", 1},
        {"_symmetry_Int_Tables_number 2\n", "0.3", 2},
        {"loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\nx,y,-z\n", "0.0003", 1},
        {"loop_\n_symmetry_equiv_pos_as_xyz\nx,y,z\nx,y,-z\n", "0.001", 2},
    };
    // clang-format on
    for (const auto& [symmetry, z, atoms] : cases) {
        SCOPED_TRACE(symmetry + z);
        const std::string text =
            "data_s\n_cell_length_a 10\n_cell_length_b 10\n_cell_length_c 10\n"
            "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 90\n" +
            symmetry +
            "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
            "_atom_site_fract_z\nC1 0.1 0.2 " +
            z + "\n";
        crystal_structure s;
        std::string error;
        ASSERT_TRUE(read_cif(text, "s.cif", {}, s, error)) << error;
        EXPECT_EQ(s.atoms.size(), atoms);
    }
}

}  // namespace
}  // namespace orvix

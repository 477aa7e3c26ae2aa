// The CIF reader on small structures whose expanded cells were worked out independently: by
// hand (tests/data/structure/by_hand) or with ASE (tests/data/structure/make_expected.py
// writes tests/data/structure/expected).
#include "structure/cif_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>

#include "support/test_support.h"

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

TEST(CifReader, ExpandsSitesIntoTheWholeCell) {
    // file, block asked for, asymmetric unit, expected atoms, block, space group, cell, sites,
    // partial sites
    // clang-format off
    const std::tuple<const char*, const char*, bool, const char*, const char*, const char*, cell_parameters, int, int> cases[] = {
        // Fm-3m: 192 operations put Na and Cl on four positions each.
        {"nacl_hm.cif", "", false, "by_hand/nacl_hm.txt", "NaCl", "F m -3 m", {{5.6402, 5.6402, 5.6402}, {90, 90, 90}}, 2, 0},
        // An operations loop; numbers with uncertainties.
        {"p21c_symops.cif", "", false, "expected/p21c_symops.txt", "p21c", "of 4 operations", {{7.1021, 8.2035, 9.3012}, {90, 101.52, 90}}, 2, 0},
        {"p21c_symops.cif", "", true, "by_hand/p21c_asymmetric.txt", "p21c", "of 4 operations", {{7.1021, 8.2035, 9.3012}, {90, 101.52, 90}}, 2, 0},
        {"p212121_hall.cif", "", false, "expected/p212121_hall.txt", "hall", "Hall P 2ac 2ab", {{5, 6, 7}, {90, 90, 90}}, 2, 0},
        // Hexagonal operations mixing coordinates; copies on a two-fold axis coincide.
        {"quartz_p3221.cif", "", false, "expected/quartz_p3221.txt", "quartz", "P 32 2 1", {{4.9134, 4.9134, 5.4052}, {90, 90, 120}}, 2, 0},
        // P-1: the shared site at the origin is its own image and keeps both atoms.
        {"partial.cif", "", false, "by_hand/partial.txt", "partial", "P -1", {{5, 6, 7}, {90, 90, 90}}, 3, 2},
        // The first block with atoms, or one named in any letter case.
        {"blocks.cif", "", false, "by_hand/blocks_first.txt", "first", "P 1", {{4, 4, 4}, {90, 90, 90}}, 1, 0},
        {"blocks.cif", "SECOND", false, "by_hand/blocks_second.txt", "second", "P 1", {{5, 5, 5}, {90, 90, 90}}, 2, 0},
    };
    // clang-format on
    for (const auto& [file, wanted, asymmetric, expected, block, group, cell, sites, partial] :
         cases) {
        SCOPED_TRACE(expected);
        crystal_structure s;
        std::string error;
        ASSERT_TRUE(read_cif(read_data(std::string("structure/") + file), file,
                             {wanted, asymmetric}, s, error))
            << error;
        expect_atoms(s.atoms, expected, !asymmetric);
        EXPECT_EQ(s.block, block);
        EXPECT_EQ(s.space_group, group);
        EXPECT_EQ(s.cell.length, cell.length);
        EXPECT_EQ(s.cell.angle, cell.angle);
        EXPECT_EQ(s.site_count, static_cast<std::size_t>(sites));
        EXPECT_EQ(s.partial_sites, static_cast<std::size_t>(partial));
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

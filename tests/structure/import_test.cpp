// Import as a whole: the cell geometry it shares with Orthogonalize > Coordinates, format
// recognition, the crystal data text it writes, and every refusal with its message.
#include "structure/import.h"

#include <gtest/gtest.h>

#include <cmath>

#include "axes/orthogonalize.h"
#include "structure/cell.h"
#include "structure/import_test_support.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::asymmetric_unit;
using test::block_named;
using test::forced;
using test::tensors_of;

using test::crlf;
using test::read_data;

TEST(CellGeometry, SameFrameAsOrthogonalizeCoordinates) {
    const cell_parameters cells[] = {
        {{10, 10, 10}, {90, 90, 90}},
        {{3, 3, 5}, {90, 90, 120}},
        {{7, 8, 9}, {90, 101.5, 90}},
        {{5, 6, 7}, {70, 80, 100}},
    };
    for (const cell_parameters& cell : cells) {
        SCOPED_TRACE(cell.angle[2]);
        mat3d m;
        ASSERT_TRUE(orthogonal_cell_matrix(cell, m));
        cell_constants constants;
        for (std::size_t i = 0; i < 3; ++i) {
            constants.length[i] = static_cast<float>(cell.length[i]);
            constants.angle[i] = static_cast<float>(cell.angle[i]);
        }
        matrix3 reference;
        ASSERT_TRUE(fractional_to_cartesian(constants, reference));
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(m[i][j], reference[i][j], 1e-5);

        // The edges (columns) give the cell back; the inverse undoes the matrix.
        const cell_parameters back = cell_from_lattice(transpose(m));
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(back.length[i], cell.length[i], 1e-9);
            EXPECT_NEAR(back.angle[i], cell.angle[i], 1e-9);
        }
        mat3d inverse;
        ASSERT_TRUE(invert(m, inverse));
        const mat3d product = multiply(inverse, m);
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) EXPECT_NEAR(product[i][j], i == j ? 1 : 0, 1e-12);
    }
    mat3d unused;
    EXPECT_FALSE(orthogonal_cell_matrix({{10, 10, 10}, {10, 10, 90}}, unused));
    EXPECT_FALSE(orthogonal_cell_matrix({{0, 10, 10}, {90, 90, 90}}, unused));
}

TEST(WrapFractional, IntoTheCellAndNeverOntoItsFarFace) {
    const struct {
        double in;
        double out;
    } cases[] = {{-0.25, 0.75},          {1.0, 0.0}, {2.5, 0.5}, {-1e-12, 0.0}, {0.9999996, 0.0},
                 {0.9999994, 0.9999994}, {0.3, 0.3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_NEAR(wrap_fractional(c.in), c.out, 1e-15);
    }
    EXPECT_FALSE(std::signbit(wrap_fractional(-0.0)));
}

TEST(DetectFormat, FromTheContent) {
    const struct {
        const char* name;
        std::string text;
        std::optional<structure_format> format;
    } cases[] = {
        {"magres first line", "#$magres-abinitio-v1.0\n[atoms]\n", structure_format::magres},
        {"data block", "data_x\n_cell_length_a 5\n", structure_format::cif},
        {"data block after comments, indented, any case", "#\\#CIF_1.1\r\n# note\r\n  DATA_y\r\n",
         structure_format::cif},
        {"magres marker not on the first line", "\n#$magres-abinitio-v1.0\n", std::nullopt},
        {"a word beginning with data", "database_x\n", std::nullopt},
        {"crystal data", "5 5 5 90 90 90\nC1 0 0 0\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(detect_format(c.text), c.format);
    }
}

const import_options defaults;

// A hexagonal cell: a = b = 3, c = 5, gamma = 120. Written with c along z and b in the yz
// plane, the edge a is (3 sin 60, -3 cos 60, 0) = (2.598076, -1.5, 0).
const std::string hexagonal_cif =
    "data_hex\n_cell_length_a 3\n_cell_length_b 3\n_cell_length_c 5\n_cell_angle_alpha 90\n"
    "_cell_angle_beta 90\n_cell_angle_gamma 120\n_space_group_name_H-M_alt 'P 1'\nloop_\n"
    "_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
    "X1 1 0 0\n'O 2' 0.5 0.25 -0.125\n";

TEST(ImportText, CellCommentAndAtomLines) {
    const std::string hex_cell = "3.000000 3.000000 5.000000 90.000000 90.000000 120.000000\n";
    const std::string cartesian_cell = " 1.000  1.000  1.000 90.000 90.000 90.000\n";
    const struct {
        const char* name;
        std::string text;
        std::string source;
        import_options options;
        std::string expected;
        std::string warning;
    } cases[] = {
        {"whole cell: wrapped, a blank in a label becomes _", hexagonal_cif, "/data/hex.cif",
         defaults,
         hex_cell + "/* imported from hex.cif, block hex: space group P 1, 2 atoms */\n"
                    "X1         0.000000     0.000000     0.000000\n"
                    "O_2        0.500000     0.250000     0.875000\n",
         ""},
        {"asymmetric unit as listed", hexagonal_cif, "hex.cif", asymmetric_unit(false),
         hex_cell +
             "/* imported from hex.cif, block hex: space group P 1, 2 atoms of the asymmetric "
             "unit */\n"
             "X1         1.000000     0.000000     0.000000\n"
             "O_2        0.500000     0.250000    -0.125000\n",
         ""},
        // (0.5, 0.25, -0.125): x = 0.5 * 2.598076, y = -0.5 * 1.5 + 0.25 * 3, z = -0.125 * 5.
        {"Cartesian", hexagonal_cif, "hex.cif", asymmetric_unit(true),
         cartesian_cell +
             "/* imported from hex.cif, block hex: space group P 1, 2 atoms of the asymmetric "
             "unit */\n"
             "X1         2.598076    -1.500000     0.000000\n"
             "O_2        1.299038     0.000000    -0.625000\n",
         ""},
        {"partial occupancy on the comment line and in the warning",
         read_data("structure/partial.cif"), "partial.cif", defaults,
         "5.000000 6.000000 7.000000 90.000000 90.000000 90.000000\n"
         "/* imported from partial.cif, block partial: space group P -1, 4 atoms; 2 of 3 sites "
         "partly occupied, every site kept */\n"
         "Si1        0.000000     0.000000     0.000000\n"
         "Al1        0.000000     0.000000     0.000000\n"
         "O1         0.200000     0.300000     0.400000\n"
         "O1         0.800000     0.700000     0.600000\n",
         "partial.cif: 2 of the 3 sites are partly occupied; every site is kept"},
        {"tensor lines", read_data("structure/rotated.magres"), "rotated.magres",
         tensors_of(magres_tensors::ms),
         "4.000000 5.000000 6.000000 90.000000 90.000000 90.000000\n"
         "/* imported from rotated.magres: 1 ms tensor (ppm) in the Cartesian frame of "
         "Orthogonalize > Coordinates */\n"
         "H1           2.000000      -0.100000       0.000000      -0.500000       1.000000"
         "      -0.200000       0.000000       0.000000       3.000000\n",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const import_result result = import_structure(c.text, c.source, c.options);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.text, crlf(c.expected));
        EXPECT_EQ(result.warning, c.warning);
    }
}

TEST(Import, RefusesBadInputNamingTheFileAndTheLine) {
    const std::string cell =
        "_cell_length_a 5\n_cell_length_b 5\n_cell_length_c 5\n_cell_angle_alpha 90\n"
        "_cell_angle_beta 90\n_cell_angle_gamma 90\n";                // lines 2 to 7
    const std::string p1 = "_symmetry_space_group_name_H-M 'P 1'\n";  // line 8
    const std::string atoms =
        "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
        "_atom_site_fract_z\nA1 0.1 0.2 0.3\n";  // loop_ on line 9
    const std::string magres = "#$magres-abinitio-v1.0\n";
    const std::string lattice = "lattice 4 0 0 0 5 0 0 0 6\n";
    const std::string h1 = "atom H H 1 0 0 0\n";
    const import_options ms = tensors_of(magres_tensors::ms);
    const struct {
        const char* name;
        std::string text;
        import_options options;
        std::string message;
    } cases[] = {
        {"neither format", "5 5 5 90 90 90\n", defaults,
         "x: neither a CIF file (no data_ block) nor a .magres file (first line "
         "#$magres-abinitio-v1.0)"},
        {"no cell", "data_x\n" + p1 + atoms, defaults, "x: no cell: _cell_length_a is missing"},
        {"cell value unknown", "data_x\n_cell_length_a 5\n_cell_length_b ?\n" + atoms, defaults,
         "x:3: _cell_length_b has no value"},
        {"cell that cannot close",
         "data_x\n_cell_length_a 5\n_cell_length_b 5\n_cell_length_c 5\n_cell_angle_alpha 10\n"
         "_cell_angle_beta 10\n_cell_angle_gamma 90\n" +
             p1 + atoms,
         defaults, "x:7: the cell constants do not describe a unit cell"},
        {"no atoms", "data_x\n" + cell + p1, defaults,
         "x: no atoms: no data block has _atom_site_fract_x"},
        {"unknown space group",
         "data_x\n" + cell + "_symmetry_space_group_name_H-M 'P 7'\n" + atoms, defaults,
         "x:8: unknown space group 'P 7'"},
        {"no symmetry", "data_x\n" + cell + atoms, defaults,
         "x: no symmetry: the block has no symmetry operations, Hall symbol, space-group name "
         "or number"},
        {"symmetry operation that does not read",
         "data_x\n" + cell + "loop_\n_symmetry_equiv_pos_as_xyz\n'x,y,z'\n'x,y'\n" + atoms,
         defaults,
         "x:8: symmetry operation 'x,y' in _symmetry_equiv_pos_as_xyz cannot be read: expected "
         "exactly two commas in triplet"},
        {"symmetry operation that is no symmetry of the lattice",
         "data_x\n" + cell + "loop_\n_symmetry_equiv_pos_as_xyz\n'x,y,z'\n'2*x,y,z'\n" + atoms,
         defaults,
         "x:8: symmetry operation '2*x,y,z' in _symmetry_equiv_pos_as_xyz cannot be read: no "
         "symmetry of the lattice (the factors of x, y and z must be whole numbers with "
         "determinant 1 or -1)"},
        {"symmetry operation with numbers beyond any symmetry",
         "data_x\n" + cell + "loop_\n_symmetry_equiv_pos_as_xyz\n'x,y,z'\n'x+99999999999,y,z'\n" +
             atoms,
         defaults,
         "x:8: symmetry operation 'x+99999999999,y,z' in _symmetry_equiv_pos_as_xyz cannot be "
         "read: its numbers are too large"},
        {"broken loop", "data_x\n" + cell + p1 + atoms + "A2 0.5 0.5\n", defaults,
         "x:9:1: Wrong number of values in the loop"},
        {"coordinate that is no number",
         "data_x\n" + cell + p1 +
             "loop_\n_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n"
             "_atom_site_fract_z\nA1 0.1 ? 0.3\n",
         defaults, "x:9: site A1: _atom_site_fract_y is not a number: ?"},
        {"data block not in the file", "data_x\n" + cell + p1 + atoms, block_named("nope"),
         "x: no data block 'nope' (the file has: x)"},
        {"tensors from a CIF", "data_x\n" + cell + p1 + atoms, ms,
         "x: tensors can be read from .magres files only"},
        {"magres format forced on a CIF", "data_x\n" + cell + p1 + atoms,
         forced(structure_format::magres),
         "x:1: not a .magres file of version 1 (its first line must be "
         "#$magres-abinitio-v1.0)"},
        {"asymmetric unit of a magres file", magres + "[atoms]\n" + lattice + h1 + "[/atoms]\n",
         asymmetric_unit(false),
         "x: a .magres file lists every atom of the cell in one block; the asymmetric unit and "
         "data blocks are CIF choices"},
        {"magres without lattice", magres + "[atoms]\n" + h1 + "[/atoms]\n", defaults,
         "x: no cell: the [atoms] block has no lattice record"},
        {"magres without atoms", magres + "[atoms]\n" + lattice + "[/atoms]\n", defaults,
         "x: no atoms: the [atoms] block has no atom record"},
        {"magres block never closed", magres + "[atoms]\n" + lattice + h1, defaults,
         "x:2: [atoms] is never closed"},
        {"magres lattice short of a number",
         magres + "[atoms]\nlattice 4 0 0 0 5 0 0 0\n[/atoms]\n", defaults,
         "x:3: lattice record with 8 values instead of 9 (three vectors)"},
        {"magres coordinate that is no number",
         magres + "[atoms]\n" + lattice + "atom H H 1 0 1.0.0 0\n[/atoms]\n", defaults,
         "x:4: atom record: '1.0.0' is not a number"},
        {"magres lengths in Bohr",
         magres + "[atoms]\nunits lattice Bohr\n" + lattice + h1 + "[/atoms]\n", defaults,
         "x:3: units lattice Bohr: only Angstrom can be read"},
        {"ms tensor of an atom that is not there",
         magres + "[atoms]\n" + lattice + h1 +
             "[/atoms]\n[magres]\nms H 7 1 0 0 0 1 0 0 0 1\n"
             "[/magres]\n",
         ms, "x:7: ms record of H 7, which is no atom"},
        {"glued label and index of no atom",
         magres + "[atoms]\n" + lattice + h1 +
             "[/atoms]\n[magres]\nms H700 1 0 0 0 1 0 0 0 1\n"
             "[/magres]\n",
         ms, "x:7: 'H700' is no atom's label and index"},
        {"no tensors of the kind asked for",
         magres + "[atoms]\n" + lattice + h1 +
             "[/atoms]\n[magres]\nefg H 1 1 0 0 0 1 0 0 0 1\n"
             "[/magres]\n",
         ms, "x: no ms tensors in the [magres] block"},
        {"shielding in other units",
         magres + "[atoms]\n" + lattice + h1 +
             "[/atoms]\n[magres]\nunits ms ppb\n"
             "ms H 1 1 0 0 0 1 0 0 0 1\n[/magres]\n",
         ms, "x:7: units ms ppb: only ppm can be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const import_result result = import_structure(c.text, "x", c.options);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.message);
        EXPECT_EQ(result.text, "");
    }
}

}  // namespace
}  // namespace orvix

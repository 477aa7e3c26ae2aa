// The .magres reader on synthetic files whose positions and tensors follow by hand from
// their simple lattices.
#include "structure/magres_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::read_data;

crystal_structure read_ok(const std::string& text, magres_tensors tensors) {
    crystal_structure s;
    std::string error;
    EXPECT_TRUE(read_magres(text, "t.magres", tensors, s, error)) << error;
    return s;
}

void expect_near(const std::array<double, 9>& got, const std::array<double, 9>& expected) {
    for (std::size_t i = 0; i < 9; ++i) EXPECT_NEAR(got[i], expected[i], 1e-12) << "element " << i;
}

TEST(MagresLabel, UnderscoreOnlyAfterADigit) {
    // '/' and ':' are the characters just below '0' and just above '9'.
    const struct {
        const char* label;
        const char* expected;
    } cases[] = {{"H", "H2"}, {"H0", "H0_2"}, {"H9", "H9_2"}, {"H/", "H/2"}, {"H:", "H:2"}};
    for (const auto& c : cases) EXPECT_EQ(magres_label(c.label, 2), c.expected);
}

// basic.magres: lattice 4 x 5 x 6 Angstrom along x, y, z (E-notation, tabs), three atoms, a
// glued "H100", a label ending in a digit (C1, index 2: C1_2), a [magres_old] block that
// would not read.
TEST(MagresReader, AtomsAsFractionalCoordinatesOfTheLattice) {
    const crystal_structure s = read_ok(read_data("structure/basic.magres"), magres_tensors::none);
    EXPECT_EQ(s.cell.length, (vec3d{4, 5, 6}));
    for (double angle : s.cell.angle) EXPECT_NEAR(angle, 90.0, 1e-9);
    EXPECT_EQ(s.space_group, "P1");
    const struct {
        const char* label;
        vec3d f;
    } expected[] = {
        {"H1", {0.25, 0.2, 1.0 / 6.0}},
        {"H100", {0.75, 0.5, 0.5}},  // x = -1 Angstrom wraps into the cell
        {"C1_2", {0.5, 0, 0}},
    };
    ASSERT_EQ(s.atoms.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].label);
        EXPECT_EQ(s.atoms[i].label, expected[i].label);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(s.atoms[i].fractional[k], expected[i].f[k], 1e-12);
    }
    EXPECT_TRUE(s.tensors.empty());
}

TEST(MagresReader, TensorsOfTheKindAskedFor) {
    const std::string text = read_data("structure/basic.magres");
    const struct {
        const char* name;
        magres_tensors kind;
        std::array<double, 9> first;
        std::array<double, 9> glued;
    } cases[] = {
        {"ms, not symmetric, E-notation",
         magres_tensors::ms,
         {30.5, 0.125, 0, 0.5, 29, 0, 0, 0, 28},
         {24, 0, 0, 0, 25, 0, 0, 0, 26}},
        {"efg",
         magres_tensors::efg,
         {0.1, 0, 0, 0, 0.2, 0, 0, 0, -0.3},
         {-0.05, 0, 0, 0, -0.05, 0, 0, 0, 0.1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const crystal_structure s = read_ok(text, c.kind);
        ASSERT_EQ(s.tensors.size(), 3u);
        EXPECT_EQ(s.tensors[0].label, "H1");
        EXPECT_EQ(s.tensors[1].label, "H100");
        EXPECT_EQ(s.tensors[2].label, "C1_2");
        expect_near(s.tensors[0].value, c.first);
        expect_near(s.tensors[1].value, c.glued);
    }
}

// rotated.magres has a along y and b along -x. Written with a along x, the tensor T becomes
// R T R^T with R = ((0 1 0) (-1 0 0) (0 0 1)): T'xx = Tyy, T'xy = -Tyx, T'yx = -Txy,
// T'yy = Txx, T'yz = -Txz (the last tells R T R^T from R^T T R).
TEST(MagresReader, TensorsTurnIntoTheFrameOfTheCoordinates) {
    const crystal_structure s = read_ok(read_data("structure/rotated.magres"), magres_tensors::ms);
    ASSERT_EQ(s.atoms.size(), 1u);
    EXPECT_NEAR(s.atoms[0].fractional[0], 0.25, 1e-12);
    EXPECT_NEAR(s.atoms[0].fractional[1], 0.0, 1e-12);
    ASSERT_EQ(s.tensors.size(), 1u);
    expect_near(s.tensors[0].value, {2, -0.1, 0, -0.5, 1, -0.2, 0, 0, 3});
}

// Left-handed lattice vectors (c along -z): the atoms written into the right-handed cell of
// the same constants must keep their handedness, seen in the sign of the triple product of
// three bonds.
TEST(MagresReader, LeftHandedLatticeKeepsTheStructuresHandedness) {
    const std::string text =
        "#$magres-abinitio-v1.0\n[atoms]\nlattice 4 0 0 0 5 0 0 0 -6\n"
        "atom C C 1 1.0 1.0 -1.0\natom H H 1 2.0 1.0 -1.0\natom H H 2 1.0 2.0 -1.0\n"
        "atom H H 3 1.0 1.0 -2.0\n[/atoms]\n";
    // Input bonds from C: (1, 0, 0), (0, 1, 0), (0, 0, -1): triple product -1.
    const crystal_structure s = read_ok(text, magres_tensors::none);
    ASSERT_EQ(s.atoms.size(), 4u);
    mat3d m;
    ASSERT_TRUE(orthogonal_cell_matrix(s.cell, m));
    vec3d bond[3];
    for (std::size_t i = 0; i < 3; ++i) {
        vec3d d;
        for (std::size_t k = 0; k < 3; ++k)
            d[k] = s.atoms[i + 1].fractional[k] - s.atoms[0].fractional[k];
        bond[i] = multiply(m, d);
    }
    const double triple = bond[0][0] * (bond[1][1] * bond[2][2] - bond[1][2] * bond[2][1]) -
                          bond[0][1] * (bond[1][0] * bond[2][2] - bond[1][2] * bond[2][0]) +
                          bond[0][2] * (bond[1][0] * bond[2][1] - bond[1][1] * bond[2][0]);
    EXPECT_NEAR(triple, -1.0, 1e-9);
}

}  // namespace
}  // namespace orvix

// The .magres reader on synthetic files whose positions and tensors follow by hand from their
// simple lattices, and the problems it names with their lines.
#include "structure/magres_reader.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/case_file.h"

namespace orvix {
namespace {

using tensor = std::array<double, 9>;

// basic.magres: lattice 4 x 5 x 6 Angstrom along x, y, z (E-notation, tabs, comments), three
// atoms, a glued "H100", a label ending in a digit (C1, index 2: C1_2), a [magres_old] block
// that would not read. rotated.magres has a along y and b along -x: written with a along x, a
// tensor T becomes R T R^T with R = ((0 1 0) (-1 0 0) (0 0 1)) (T'yz = -Txz tells it from
// R^T T R). left_handed.magres: left-handed lattice vectors (c along -z) take the fractional
// coordinates through the origin: (1, 1, -1) Angstrom is -(0.25, 0.2, 1/6), wrapped.
TEST(MagresReader, AtomsAsFractionalCoordinatesAndTensorsInTheirFrame) {
    const std::string basic = test::read_data("structure/basic.magres");
    // clang-format off
    const std::tuple<std::string, magres_tensors, std::vector<std::pair<std::string, vec3d>>, std::vector<tensor>> cases[] = {
        {basic, magres_tensors::none, {{"H1", {0.25, 0.2, 1.0 / 6.0}}, {"H100", {0.75, 0.5, 0.5}}, {"C1_2", {0.5, 0, 0}}}, {}},
        {basic, magres_tensors::ms, {}, {{30.5, 0.125, 0, 0.5, 29, 0, 0, 0, 28}, {24, 0, 0, 0, 25, 0, 0, 0, 26}, {100, 0, 0, 0, -50, 0, 0, 0, 100}}},
        {basic, magres_tensors::efg, {}, {{0.1, 0, 0, 0, 0.2, 0, 0, 0, -0.3}, {-0.05, 0, 0, 0, -0.05, 0, 0, 0, 0.1}, {}}},
        {test::read_data("structure/rotated.magres"), magres_tensors::ms, {{"H1", {0.25, 0, 0}}}, {{2, -0.1, 0, -0.5, 1, -0.2, 0, 0, 3}}},
        {test::read_data("structure/left_handed.magres"), magres_tensors::none, {{"C1", {0.75, 0.8, 5.0 / 6.0}}}, {}},
    };
    // clang-format on
    for (const auto& [text, kind, atoms, tensors] : cases) {
        SCOPED_TRACE(testing::Message() << text.substr(0, 60) << " " << static_cast<int>(kind));
        crystal_structure s;
        std::string error;
        ASSERT_TRUE(read_magres(text, "t.magres", kind, s, error)) << error;
        for (std::size_t i = 0; i < atoms.size(); ++i) {
            EXPECT_EQ(s.atoms.at(i).label, atoms[i].first);
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_NEAR(s.atoms[i].fractional[k], atoms[i].second[k], 1e-12);
        }
        ASSERT_EQ(s.tensors.size(), kind == magres_tensors::none ? 0 : s.atoms.size());
        for (std::size_t i = 0; i < tensors.size(); ++i) {
            EXPECT_EQ(s.tensors[i].label, s.atoms[i].label);
            for (std::size_t k = 0; k < 9; ++k)
                EXPECT_NEAR(s.tensors[i].value[k], tensors[i][k], 1e-12) << i;
        }
    }
    EXPECT_EQ(magres_label("H9", 2), "H9_2");
    EXPECT_EQ(magres_label("H0", 2), "H0_2");
}

// Cases in tests/data/structure/magres_problems.tsv.
TEST(MagresReader, ProblemsNameTheLine) {
    for (const auto& c : test::read_cases("structure/magres_problems.tsv")) {
        crystal_structure s;
        std::string error;
        EXPECT_FALSE(read_magres(c.at(1), "t.magres", magres_tensors::ms, s, error));
        EXPECT_EQ(error.substr(0, c[0].size()), c[0]) << error;
    }
}

}  // namespace
}  // namespace orvix

// The CIF reader on small structures whose expanded cells were worked out independently: by
// hand (tests/data/structure/by_hand) or with ASE (tests/data/structure/make_expected.py
// writes tests/data/structure/expected).
#include "structure/cif_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "platform/c_format.h"
#include "support/case_file.h"

namespace orvix {
namespace {

using namespace test;

// Every expected atom ("label x y z" lines) is exactly one read atom of the same label at the
// same place (to 1e-5, over lattice translations when wrapped, when every coordinate must
// lie in [0, 1)).
void expect_atoms(const std::vector<structure_atom>& got, const std::string& expected_file,
                  bool wrapped) {
    std::istringstream in(read_data("structure/" + expected_file));
    std::size_t count = 0;
    std::string label;
    for (vec3d f; in >> label >> f[0] >> f[1] >> f[2]; ++count) {
        const auto there = [&](const structure_atom& a) {
            bool close = a.label == label;
            for (std::size_t k = 0; k < 3; ++k) {
                const double d = a.fractional[k] - f[k];
                close = close && std::fabs(wrapped ? d - std::round(d) : d) < 1e-5;
            }
            return close;
        };
        EXPECT_EQ(std::count_if(got.begin(), got.end(), there), 1)
            << label << " " << f[0] << " " << f[1];
    }
    EXPECT_EQ(got.size(), count);
    for (const structure_atom& a : got)
        for (double v : a.fractional)
            EXPECT_TRUE(!wrapped || (v >= 0.0 && v < 1.0)) << a.label << " " << v;
}

// Cases in tests/data/structure/cif_cases.tsv.
TEST(CifReader, ExpandsSitesIntoTheWholeCell) {
    for (const auto& c : read_cases("structure/cif_cases.tsv")) {
        SCOPED_TRACE(c.at(3));
        crystal_structure s;
        std::string error;
        const bool asymmetric = c.at(2) == "1";
        ASSERT_TRUE(read_cif(read_data("structure/" + c[0]), c[0], {c.at(1), asymmetric}, s, error))
            << error;
        expect_atoms(s.atoms, c[3], !asymmetric);
        EXPECT_EQ(s.block, c.at(4));
        EXPECT_EQ(s.space_group, c.at(5));
        const vec3d& l = s.cell.length;
        const vec3d& a = s.cell.angle;
        EXPECT_EQ(c_format("%g %g %g %g %g %g", l[0], l[1], l[2], a[0], a[1], a[2]), c.at(6));
        EXPECT_EQ(s.site_count, std::stoul(c.at(7)));
        EXPECT_EQ(s.partial_sites, std::stoul(c.at(8)));
        EXPECT_EQ(s.asymmetric_unit, asymmetric);
    }
}

// Cases in tests/data/structure/cif_symmetry.tsv: which symmetry counts, and which copies of a
// site are one atom.
TEST(CifReader, SymmetrySourcesInOrderAndCopiesMerged) {
    for (const auto& c : read_cases("structure/cif_symmetry.tsv")) {
        crystal_structure s;
        std::string error;
        ASSERT_TRUE(read_cif(c[0], "s.cif", {}, s, error)) << error;
        EXPECT_EQ(s.atoms.size(), std::stoul(c.at(1))) << c[0];
    }
}

}  // namespace
}  // namespace orvix

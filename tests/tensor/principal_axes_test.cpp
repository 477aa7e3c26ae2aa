// Symmetrising, ordering and the right-handed step, one by one and together on random
// symmetric tensors of known spectrum.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "crystal/records.h"
#include "support/test_support.h"
#include "tensor/tensor.h"
#include "tensor/tensor_report.h"

namespace orvix {
namespace {

using column3 = std::array<float, 3>;
using columns3 = std::array<column3, 3>;  // columns3[k] is column k + 1

void load_columns(matrix& v, const columns3& c) {
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= 3; ++row) v[row][k] = c[k - 1][row - 1];
}

columns3 columns_of(const matrix& v) {
    columns3 c{};
    for (int k = 1; k <= 3; ++k)
        for (int row = 1; row <= 3; ++row) c[k - 1][row - 1] = v[row][k];
    return c;
}

void load_vector(vector& u, const column3& values) {
    for (int k = 1; k <= 3; ++k) u[k] = values[k - 1];
}

double det3(const columns3& c) {
    auto x = [&](int k, int row) { return static_cast<double>(c[k][row]); };
    return x(0, 0) * (x(1, 1) * x(2, 2) - x(2, 1) * x(1, 2)) -
           x(1, 0) * (x(0, 1) * x(2, 2) - x(2, 1) * x(0, 2)) +
           x(2, 0) * (x(0, 1) * x(1, 2) - x(1, 1) * x(0, 2));
}

TEST(SymmetrizeTensor, MeansOfOffDiagonalPairs) {
    const float big = 3.0e38f;
    struct {
        const char* name;
        tensor9 in;
        tensor9 out;
    } cases[] = {
        {"the sample tensor", {5, 1, 0, 3, 5, 0, 0, 0, -2}, {5, 2, 0, 2, 5, 0, 0, 0, -2}},
        {"antisymmetric part dropped", {1, 4, -6, -4, 2, 8, 6, -8, 3}, {1, 0, 0, 0, 2, 0, 0, 0, 3}},
        {"already symmetric",
         {1, 0.1f, 0.2f, 0.1f, 2, 0.3f, 0.2f, 0.3f, 3},
         {1, 0.1f, 0.2f, 0.1f, 2, 0.3f, 0.2f, 0.3f, 3}},
        {"one mean per pair", {0, 1, 2, 3, 0, 5, 6, 7, 0}, {0, 2, 4, 2, 0, 6, 4, 6, 0}},
        // 1 and 1 + 2^-23 have a mean that single precision cannot hold: it rounds to even.
        {"rounded once to single precision",
         {0, 1, 0, 1.00000012f, 0, 0, 0, 0, 0},
         {0, 1, 0, 1, 0, 0, 0, 0, 0}},
        // Two elements near the float limit: their sum overflows single precision, their
        // mean does not.
        {"large elements of equal sign",
         {0, big, 0, big, 0, 0, 0, 0, 0},
         {0, big, 0, big, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tensor9 m = c.in;
        symmetrize_tensor(m);
        EXPECT_EQ(m, c.out);
    }
}

TEST(SortPrincipalAxes, ColumnsFollowTheirComponents) {
    // Column k holds (10k + 1, 10k + 2, 10k + 3), so each column can be told by its values.
    struct {
        const char* name;
        column3 d;
        sort_order order;
        column3 sorted;
        std::array<int, 3> from;  // the original column now at 1, 2, 3
    } cases[] = {
        {"descending, already in order", {3, 2, 1}, sort_order::descending, {3, 2, 1}, {1, 2, 3}},
        {"descending, reversed", {1, 2, 3}, sort_order::descending, {3, 2, 1}, {3, 2, 1}},
        {"ascending, reversed", {3, 2, 1}, sort_order::ascending, {1, 2, 3}, {3, 2, 1}},
        {"ascending, mixed signs", {3, -2, 7}, sort_order::ascending, {-2, 3, 7}, {2, 1, 3}},
        // The eigen-solver's (0, 2, 2) for rows (1, 1, 0), (1, 1, 0), (0, 0, 2): the 2 of
        // column 2 comes first, because equal values are never exchanged.
        {"descending, a pair of equal values",
         {0, 2, 2},
         sort_order::descending,
         {2, 2, 0},
         {2, 3, 1}},
        {"ascending, a pair of equal values",
         {0, 2, 2},
         sort_order::ascending,
         {0, 2, 2},
         {1, 2, 3}},
        {"ascending, equal values moved by other exchanges",
         {5, 5, 1},
         sort_order::ascending,
         {1, 5, 5},
         {3, 2, 1}},
        {"all equal", {4, 4, 4}, sort_order::descending, {4, 4, 4}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        columns3 tagged{};
        for (int k = 0; k < 3; ++k)
            for (int row = 0; row < 3; ++row)
                tagged[k][row] = static_cast<float>(10 * (k + 1) + row + 1);
        vector d;
        matrix v;
        load_vector(d, c.d);
        load_columns(v, tagged);
        sort_principal_axes(d, v, c.order);
        EXPECT_EQ((column3{d[1], d[2], d[3]}), c.sorted);
        const columns3 after = columns_of(v);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(after[k], tagged[c.from[k] - 1]) << "column " << k + 1;
    }
}

TEST(MakeRightHanded, NormalisesAndFixesTheThirdAxis) {
    const float deg = 0.017453292519943f;
    const float c15 = std::cos(1.5f * deg), s15 = std::sin(1.5f * deg);
    const float c25 = std::cos(2.5f * deg), s25 = std::sin(2.5f * deg);
    struct {
        const char* name;
        columns3 in;
        columns3 out;
    } cases[] = {
        {"right-handed unit axes stay",
         {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
         {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        // Negating the axis negates its zeros too: they are written as -0.000000.
        {"left-handed: the third axis is negated",
         {{{1, 0, 0}, {0, 1, 0}, {0, 0, -1}}},
         {{{1, 0, 0}, {0, 1, 0}, {-0.0f, -0.0f, 1}}}},
        {"the descending diagonal tensor's axes",
         {{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}},
         {{{0, 0, 1}, {0, 1, 0}, {-1, -0.0f, -0.0f}}}},
        {"axes of any length are normalised",
         {{{2, 0, 0}, {0, 0.5f, 0}, {0, 0, -4}}},
         {{{1, 0, 0}, {0, 1, 0}, {-0.0f, -0.0f, 1}}}},
        // Axes 1.5 degrees from a right angle still count as orthogonal.
        {"within 2 degrees of a right angle",
         {{{1, 0, 0}, {s15, c15, 0}, {0, 0, -1}}},
         {{{1, 0, 0}, {s15, c15, 0}, {-0.0f, -0.0f, 1}}}},
        // Everything is left exactly as it was, not even normalised.
        {"2.5 degrees from a right angle",
         {{{2, 0, 0}, {s25, c25, 0}, {0, 0, -3}}},
         {{{2, 0, 0}, {s25, c25, 0}, {0, 0, -3}}}},
        {"45 degrees apart",
         {{{1, 0, 0}, {1, 1, 0}, {0, 0, -1}}},
         {{{1, 0, 0}, {1, 1, 0}, {0, 0, -1}}}},
        {"a zero axis", {{{2, 0, 0}, {0, 0, 0}, {0, 0, -3}}}, {{{2, 0, 0}, {0, 0, 0}, {0, 0, -3}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        matrix v;
        load_columns(v, c.in);
        make_right_handed(v);
        const columns3 after = columns_of(v);
        for (int k = 0; k < 3; ++k)
            for (int row = 0; row < 3; ++row) {
                EXPECT_EQ(after[k][row], c.out[k][row]) << "column " << k + 1 << " row " << row + 1;
                EXPECT_EQ(std::signbit(after[k][row]), std::signbit(c.out[k][row]))
                    << "column " << k + 1 << " row " << row + 1;
            }
    }
}

TEST(VectorAngle, DegreesBetweenVectors) {
    struct {
        const char* name;
        column3 a;
        column3 b;
        double degrees;
    } cases[] = {
        {"parallel", {0, 0, 2}, {0, 0, 5}, 0},
        {"opposite", {1, 0, 0}, {-3, 0, 0}, 180},
        {"orthogonal", {1, 0, 0}, {0, 7, 0}, 90},
        {"45 degrees", {1, 1, 0}, {1, 0, 0}, 45},
        {"60 degrees", {1, 0, 0}, {0.5f, 0.866025403784f, 0}, 60},
        {"120 degrees", {1, 0, 0}, {-0.5f, 0.866025403784f, 0}, 120},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        vector a, b;
        load_vector(a, c.a);
        load_vector(b, c.b);
        EXPECT_NEAR(vector_angle(a, b), c.degrees, 1e-5);
    }
}

TEST(VectorAngle, CosinesPastOneByRoundingCountAsOne) {
    // Parallel and antiparallel pairs whose cosine, worked in double, comes out just past 1.
    struct {
        const char* name;
        column3 a;
        column3 b;
        double degrees;
    } cases[] = {
        {"parallel",
         {-0.16595602f, 0.994369626f, 0.440649033f},
         {-1.0049969f, 6.02170658f, 2.66848373f},
         0},
        {"antiparallel",
         {-0.591095507f, -0.113094211f, 0.756234884f},
         {2.2378397f, 0.428165525f, -2.86304402f},
         180},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double dot = 0, aa = 0, bb = 0;
        for (int k = 0; k < 3; ++k) {
            dot += static_cast<double>(c.a[k]) * c.b[k];
            aa += static_cast<double>(c.a[k]) * c.a[k];
            bb += static_cast<double>(c.b[k]) * c.b[k];
        }
        ASSERT_GT(std::fabs(dot / (std::sqrt(aa) * std::sqrt(bb))), 1.0) << "not a rounding case";
        vector a, b;
        load_vector(a, c.a);
        load_vector(b, c.b);
        // Unclamped, the arc cosine would be NaN.
        EXPECT_NEAR(vector_angle(a, b), c.degrees, 1e-9);
    }
}

TEST(VectorAngle, ZeroVectorHasNoAngle) {
    vector zero, x;
    x[1] = 1;
    EXPECT_TRUE(std::isnan(vector_angle(zero, x)));
}

// A random rotation matrix (rows), from a random unit quaternion.
std::array<std::array<double, 3>, 3> random_rotation(std::mt19937& random) {
    std::normal_distribution<double> normal;
    double w = normal(random), x = normal(random), y = normal(random), z = normal(random);
    const double n = std::sqrt(w * w + x * x + y * y + z * z);
    w /= n, x /= n, y /= n, z /= n;
    return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
             {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
             {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
}

// The axes as they come back from a written report, read as crystal data.
columns3 written_axes(const matrix& v, const std::string& path) {
    {
        auto out = exclusive_file::create(path);
        write_tensor_frame(*out, v);
        out->close();
    }
    auto in = exclusive_file::open_existing(path, exclusive_file::access::read);
    columns3 axes{};
    atom_record atom;
    read_atom_line(*in, atom, false, nullptr);  // the origin line
    for (auto& axis : axes) {
        read_atom_line(*in, atom, false, nullptr);
        axis = {atom.x, atom.y, atom.z};
    }
    return axes;
}

// Symmetric tensors R diag(l) R^T for random rotations R: the components come out ordered,
// the axes orthonormal and right-handed (in memory and as written in the report), and
// V D V^T gives the symmetrised tensor back.
TEST(PrincipalAxes, RandomSymmetricTensorsOfKnownSpectrum) {
    const double eps = std::numeric_limits<float>::epsilon();
    struct {
        const char* name;
        std::array<double, 3> spectrum;
    } cases[] = {
        {"distinct, mixed signs", {-3.7, 1.2, 8.9}},
        {"a repeated pair", {2, 2, -5}},
        {"a nearly repeated pair", {1, 1.0001, 3}},
        {"isotropic", {4, 4, 4}},
        {"six orders of magnitude", {1e-3, 1, 1e3}},
        {"all negative", {-1, -2, -3}},
        {"a shielding tensor in ppm", {-150.25, 20.5, 310.75}},
    };
    std::mt19937 random(20210519);
    test::scratch_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double scale = std::max(
            {std::fabs(c.spectrum[0]), std::fabs(c.spectrum[1]), std::fabs(c.spectrum[2])});
        for (int trial = 0; trial < 60; ++trial) {
            const auto r = random_rotation(random);
            tensor9 t{};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    double sum = 0;
                    for (int k = 0; k < 3; ++k) sum += r[i][k] * c.spectrum[k] * r[j][k];
                    t[static_cast<std::size_t>(3 * i + j)] = static_cast<float>(sum);
                }
            symmetrize_tensor(t);
            for (sort_order order : {sort_order::descending, sort_order::ascending}) {
                SCOPED_TRACE(testing::Message()
                             << "trial " << trial
                             << (order == sort_order::descending ? " descending" : " ascending"));
                vector d;
                matrix v;
                principal_axes(t, order, d, v);
                if (order == sort_order::descending) {
                    EXPECT_GE(d[1], d[2]);
                    EXPECT_GE(d[2], d[3]);
                } else {
                    EXPECT_LE(d[1], d[2]);
                    EXPECT_LE(d[2], d[3]);
                }
                std::array<double, 3> expected = c.spectrum;
                std::sort(expected.begin(), expected.end());
                if (order == sort_order::descending) std::reverse(expected.begin(), expected.end());
                for (int k = 1; k <= 3; ++k)
                    EXPECT_NEAR(d[k], expected[static_cast<std::size_t>(k - 1)], 1e-5 * scale);

                const columns3 axes = columns_of(v);
                EXPECT_NEAR(det3(axes), 1.0, 8 * eps);
                for (int a = 0; a < 3; ++a)
                    for (int b = 0; b < 3; ++b) {
                        double dot = 0;
                        for (int row = 0; row < 3; ++row)
                            dot += static_cast<double>(axes[a][row]) * axes[b][row];
                        EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, 8 * eps);
                    }
                for (int i = 0; i < 3; ++i)
                    for (int j = 0; j < 3; ++j) {
                        double sum = 0;
                        for (int k = 0; k < 3; ++k)
                            sum += static_cast<double>(axes[k][i]) * d[k + 1] * axes[k][j];
                        EXPECT_NEAR(sum, t[static_cast<std::size_t>(3 * i + j)], 1e-5 * scale)
                            << "element " << i + 1 << ", " << j + 1;
                    }

                // Six decimals in the report: the written axes are right-handed to within
                // their rounding. (Checked on every fifth tensor: files are slow to rewrite.)
                if (trial % 5 == 0) {
                    const columns3 written = written_axes(v, dir.file("frame.cry"));
                    EXPECT_NEAR(det3(written), 1.0, 1e-5);
                    for (int k = 0; k < 3; ++k)
                        for (int row = 0; row < 3; ++row)
                            EXPECT_NEAR(written[k][row], axes[k][row], 5.1e-7);
                }
            }
        }
    }
}

}  // namespace
}  // namespace orvix

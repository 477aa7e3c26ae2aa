// Tests of the Jacobi eigen-solver: the reference results it must reproduce to the bit, its
// edge cases and failures, and the eigen-decomposition properties on random matrices.
#include "numeric/jacobi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "alloc_fault.h"
#include "numeric/onebased.h"
#include "platform/c_format.h"
#include "platform/errors.h"
#include "platform/scan.h"

namespace {

using orvix::convert_matrix;
using orvix::jacobi;
using orvix::matrix;
using orvix::vector;

using rows3 = std::array<std::array<float, 3>, 3>;

std::uint32_t bits_of(float x) {
    std::uint32_t u;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

std::string printed(float x) {
    return orvix::c_format("%.8g", static_cast<double>(x));
}

float read_back(const char* text) {
    std::string_view rest(text);
    float value = 0;
    orvix::scan_float(rest, value);
    return value;
}

// The reference values are known as printed with eight significant digits; the float must
// print that way and be the float that the printed text reads back as.
void expect_printed_bits(float actual, const char* expected) {
    EXPECT_EQ(printed(actual), expected);
    EXPECT_EQ(bits_of(actual), bits_of(read_back(expected)))
        << "actual " << printed(actual) << " is not the float of " << expected;
}

void load(matrix& a, const rows3& rows) {
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) a[i][j] = rows[i - 1][j - 1];
}

struct solution {
    std::array<float, 9> a_after;  // the input matrix as jacobi left it, row-major
    std::array<float, 3> d;
    rows3 v;
    int rotations = -1;
};

solution solve_as_matrix(const rows3& rows) {
    matrix a;
    load(a, rows);
    vector d;
    matrix v;
    solution s;
    jacobi(a, d, v, s.rotations);
    for (int i = 1; i <= 3; ++i) {
        s.d[i - 1] = d[i];
        for (int j = 1; j <= 3; ++j) {
            s.v[i - 1][j - 1] = v[i][j];
            s.a_after[3 * (i - 1) + (j - 1)] = a[i][j];
        }
    }
    return s;
}

solution solve_as_view(const rows3& rows) {
    float array[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) array[3 * i + j] = rows[i][j];
    vector d;
    matrix v;
    solution s;
    {
        auto a = convert_matrix(array);
        jacobi(a, d, v, s.rotations);
    }
    std::copy(array, array + 9, s.a_after.begin());
    for (int i = 1; i <= 3; ++i) {
        s.d[i - 1] = d[i];
        for (int j = 1; j <= 3; ++j) s.v[i - 1][j - 1] = v[i][j];
    }
    return s;
}

// Diagonal and lower triangle as given; upper off-diagonal elements zero.
void expect_input_left_as_required(const solution& s, const rows3& rows) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            SCOPED_TRACE(testing::Message() << "a(" << i + 1 << "," << j + 1 << ")");
            const float after = s.a_after[3 * i + j];
            if (j > i)
                EXPECT_EQ(after, 0.0f);
            else
                EXPECT_EQ(bits_of(after), bits_of(rows[i][j]));
        }
    }
}

TEST(Jacobi, ReferenceResults) {
    struct reference_case {
        const char* name;
        rows3 rows;
        int rotations;
        const char* d[3];
        const char* v[3][3];  // rows of v; nullptr where no reference is known
    };
    const reference_case cases[] = {
        {"distinct eigenvalues, converges by the negligible-element rule",
         {{{10, 2, 3}, {2, 20, 4}, {3, 4, 30}}},
         9,
         {"9.3599539", "18.679838", "31.960209"},
         {{nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}}},
        {"equal diagonal elements give theta 0 and t 1",
         {{{1, 1, 0}, {1, 1, 0}, {0, 0, 2}}},
         1,
         {"0", "2", "2"},
         {{"0.70710677", "0.70710677", "0"}, {"-0.70710677", "0.70710677", "0"}, {"0", "0", "1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const solution s = solve_as_matrix(c.rows);
        EXPECT_EQ(s.rotations, c.rotations);
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "d[" << k + 1 << "]");
            expect_printed_bits(s.d[k], c.d[k]);
        }
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                if (c.v[i][j] == nullptr) continue;
                SCOPED_TRACE(testing::Message() << "v(" << i + 1 << "," << j + 1 << ")");
                expect_printed_bits(s.v[i][j], c.v[i][j]);
            }
        }
        expect_input_left_as_required(s, c.rows);
    }
}

TEST(Jacobi, MatrixAndViewGiveTheSameBits) {
    const rows3 inputs[] = {
        {{{10, 2, 3}, {2, 20, 4}, {3, 4, 30}}},
        {{{-1.5f, 0.25f, 7}, {0.25f, 3, -2}, {7, -2, 0}}},
        {{{1e-3f, 5e-4f, 0}, {5e-4f, 1e-3f, 2e-4f}, {0, 2e-4f, -1e-3f}}},
    };
    for (const auto& rows : inputs) {
        SCOPED_TRACE(testing::Message() << "a(1,1) = " << rows[0][0]);
        const solution m = solve_as_matrix(rows);
        const solution w = solve_as_view(rows);
        EXPECT_EQ(m.rotations, w.rotations);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(bits_of(m.d[k]), bits_of(w.d[k]));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_EQ(bits_of(m.v[i][j]), bits_of(w.v[i][j]));
        for (int pos = 0; pos < 9; ++pos)
            EXPECT_EQ(bits_of(m.a_after[pos]), bits_of(w.a_after[pos]));
        expect_input_left_as_required(w, rows);
    }
}

TEST(Jacobi, ZeroOffDiagonalReturnsAtOnce) {
    struct diagonal_case {
        const char* name;
        rows3 rows;
    };
    const diagonal_case cases[] = {
        {"increasing", {{{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}}},
        {"unsorted with negative and zero", {{{3, 0, 0}, {0, -1, 0}, {0, 0, 0}}}},
        {"all equal", {{{5, 0, 0}, {0, 5, 0}, {0, 0, 5}}}},
        {"negative zeros above the diagonal", {{{1, -0.0f, -0.0f}, {0, 2, -0.0f}, {0, 0, 3}}}},
        {"lower triangle is not read", {{{4, 0, 0}, {9, 6, 0}, {-7, 8, 2}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const solution s = solve_as_matrix(c.rows);
        EXPECT_EQ(s.rotations, 0);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(bits_of(s.d[k]), bits_of(c.rows[k][k]));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_EQ(s.v[i][j], i == j ? 1.0f : 0.0f);
        expect_input_left_as_required(s, c.rows);
    }
}

// An element so small beside the gap of its diagonal elements that |h| + 100|a| rounds to
// |h| is rotated with t = a/h directly: then c is exactly 1 and s is exactly t. The element is
// chosen so that t = 1/(2 theta), the value of the other formula, would be the next float.
TEST(Jacobi, TinyElementUsesTheSmallAngleRotation) {
    const float tiny = 0x1.b7ce02p-34f;  // about 1e-10
    const rows3 rows = {{{1, tiny, 0}, {tiny, 2, 0}, {0, 0, 3}}};
    const solution s = solve_as_matrix(rows);
    EXPECT_EQ(s.rotations, 1);
    EXPECT_EQ(s.d[0], 1.0f);
    EXPECT_EQ(s.d[1], 2.0f);
    EXPECT_EQ(s.d[2], 3.0f);
    const float t = tiny / 1.0f;
    const rows3 expected_v = {{{1, t, 0}, {-t, 1, 0}, {0, 0, 1}}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            SCOPED_TRACE(testing::Message() << "v(" << i + 1 << "," << j + 1 << ")");
            EXPECT_EQ(bits_of(s.v[i][j]), bits_of(expected_v[i][j]));
        }
    }
}

// A matrix whose only off-diagonal element is a12 is diagonalised by one rotation, so the
// whole result follows from the formulas of that rotation. This works them out independently,
// rounding to float exactly at the named quantities and carrying everything in between in
// long double, wider than the solver's double: a result that differs in any bit means a
// quantity was rounded where it should not be, or not rounded where it should.
struct one_rotation {
    float d1, d2, v11, v12, v21, v22;
};

one_rotation expected_one_rotation(float a11, float a12, float a22) {
    using wide = long double;
    const float h = a22 - a11;
    const float g = static_cast<float>(100.0L * std::fabs(static_cast<wide>(a12)));
    float t;
    if (static_cast<float>(std::fabs(h) + g) == std::fabs(h)) {
        t = static_cast<float>(static_cast<wide>(a12) / h);
    } else {
        const float theta = static_cast<float>(0.5L * h / a12);
        const wide th = theta;
        t = static_cast<float>(1.0L / (std::fabs(th) + std::sqrt(1.0L + th * th)));
        if (theta < 0) t = -t;
    }
    const float one_plus_t2 = static_cast<float>(1.0L + static_cast<wide>(t) * t);
    const float root = static_cast<float>(std::sqrt(static_cast<wide>(one_plus_t2)));
    const float c = static_cast<float>(1.0L / root);
    const float s = static_cast<float>(static_cast<wide>(t) * c);
    const float tau = static_cast<float>(s / (1.0L + c));
    const float e = static_cast<float>(static_cast<wide>(t) * a12);
    // v starts as the identity: the rotation of (v11, v12) is R(1, 0), of (v21, v22) R(0, 1).
    const float diagonal = static_cast<float>(1.0L - static_cast<wide>(s) * tau);
    return {static_cast<float>(static_cast<wide>(a11) - e),
            static_cast<float>(static_cast<wide>(a22) + e),
            diagonal,
            s,
            -s,
            diagonal};
}

TEST(Jacobi, SingleRotationRoundsAtTheNamedQuantities) {
    struct rotation_case {
        std::string name;
        float a11, a12, a22;
    };
    std::vector<rotation_case> cases = {
        {"equal diagonal", 1, 1, 1},
        {"negative theta", 3, 0.5f, -2},
        {"small angle branch", 1, 0x1.b7ce02p-34f, 2},
    };
    // And many random ones, over several orders of magnitude of theta.
    std::mt19937 engine(424242u);
    auto unit = [&engine] { return static_cast<double>(engine() >> 8) / 16777216.0; };
    for (int n = 0; n < 20000; ++n) {
        const float a11 = static_cast<float>(20 * unit() - 10);
        const float a22 = static_cast<float>(20 * unit() - 10);
        const float a12 =
            static_cast<float>((unit() < 0.5 ? -1 : 1) * std::pow(10.0, 6 * unit() - 5));
        cases.push_back({"random " + std::to_string(n), a11, a12, a22});
    }
    int mismatches = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const rows3 rows = {{{c.a11, c.a12, 0}, {c.a12, c.a22, 0}, {0, 0, 5}}};
        const solution s = solve_as_matrix(rows);
        const one_rotation want = expected_one_rotation(c.a11, c.a12, c.a22);
        EXPECT_EQ(s.rotations, 1);
        const float got[6] = {s.d[0], s.d[1], s.v[0][0], s.v[0][1], s.v[1][0], s.v[1][1]};
        const float wanted[6] = {want.d1, want.d2, want.v11, want.v12, want.v21, want.v22};
        const char* names[6] = {"d1", "d2", "v11", "v12", "v21", "v22"};
        for (int k = 0; k < 6; ++k) {
            if (bits_of(got[k]) == bits_of(wanted[k])) continue;
            ADD_FAILURE() << names[k] << ": " << printed(got[k]) << " instead of "
                          << printed(wanted[k]) << " (a11 " << c.a11 << ", a12 " << c.a12
                          << ", a22 " << c.a22 << ")";
            if (++mismatches >= 10) return;
        }
    }
}

TEST(Jacobi, OnlyTheUpperTriangleIsRead) {
    struct triangle_case {
        const char* name;
        rows3 upper;  // symmetric
        rows3 garbled;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const triangle_case cases[] = {
        {"different numbers below",
         {{{10, 2, 3}, {2, 20, 4}, {3, 4, 30}}},
         {{{10, 2, 3}, {-50, 20, 4}, {1e6f, 0, 30}}}},
        {"NaN below",
         {{{1, -3, 0.5f}, {-3, 2, 1}, {0.5f, 1, -4}}},
         {{{1, -3, 0.5f}, {nan, 2, 1}, {nan, nan, -4}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const solution ref = solve_as_matrix(c.upper);
        const solution s = solve_as_matrix(c.garbled);
        EXPECT_EQ(s.rotations, ref.rotations);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(bits_of(s.d[k]), bits_of(ref.d[k]));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_EQ(bits_of(s.v[i][j]), bits_of(ref.v[i][j]));
        expect_input_left_as_required(s, c.garbled);
    }
}

std::string run_failing(const rows3& rows, int fail_allocation, matrix& v, int& rotations,
                        std::string& err) {
    matrix a;
    load(a, rows);
    vector d;
    std::string message = "(nothing thrown)";
    testing::internal::CaptureStderr();
    if (fail_allocation > 0) alloc_fault::fail_nth(fail_allocation);
    try {
        jacobi(a, d, v, rotations);
    } catch (const orvix::action_abort& e) {
        message = e.what();
    }
    alloc_fault::disarm();
    err = testing::internal::GetCapturedStderr();
    return message;
}

TEST(Jacobi, FailuresEndTheActionWithTheirText) {
    struct failure_case {
        const char* name;
        rows3 rows;
        int fail_allocation;  // 0: none
        const char* text;
        bool v_untouched;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const rows3 ordinary = {{{10, 2, 3}, {2, 20, 4}, {3, 4, 30}}};
    const failure_case cases[] = {
        {"working vector b", ordinary, 1, "allocation failure in vector()", true},
        {"working vector z", ordinary, 2, "allocation failure in vector()", true},
        // A NaN element is never above any threshold and never negligible, so the sum of
        // the off-diagonal magnitudes never reaches zero.
        {"no convergence",
         {{{1, nan, 0}, {nan, 2, 0}, {0, 0, 3}}},
         0,
         "Too many iterations in routine jacobi",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        matrix v;
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) v[i][j] = 42.0f;
        int rotations = -7;
        std::string err;
        const std::string message = run_failing(c.rows, c.fail_allocation, v, rotations, err);
        EXPECT_EQ(message, c.text);
        EXPECT_EQ(err, std::string("Numerical Recipes run-time error...\n") + c.text +
                           "\n...now exiting to system...\n");
        if (c.v_untouched) {
            // The working storage is had before anything is written.
            EXPECT_EQ(rotations, -7);
            for (int i = 1; i <= 3; ++i)
                for (int j = 1; j <= 3; ++j) EXPECT_EQ(v[i][j], 42.0f);
        }
    }
}

// Random symmetric matrices with a chosen spectrum: A = Q diag(lambda) Q^T for random
// rotations Q, rounded to float. The generator is driven from raw mt19937 output so the
// sequence does not depend on the standard library's distributions.
class spectrum_source {
  public:
    explicit spectrum_source(std::uint32_t seed) : engine_(seed) {}

    double uniform(double lo, double hi) {
        return lo + (hi - lo) * (static_cast<double>(engine_() >> 5) / 134217728.0);
    }

    // A uniformly random rotation from a random unit quaternion.
    std::array<std::array<double, 3>, 3> rotation() {
        double w, x, y, z, n;
        do {
            w = uniform(-1, 1);
            x = uniform(-1, 1);
            y = uniform(-1, 1);
            z = uniform(-1, 1);
            n = w * w + x * x + y * y + z * z;
        } while (n > 1.0 || n < 1e-6);
        n = std::sqrt(n);
        w /= n;
        x /= n;
        y /= n;
        z /= n;
        return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
                 {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                 {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
    }

  private:
    std::mt19937 engine_;
};

TEST(Jacobi, EigenDecompositionOfRandomSymmetricMatrices) {
    struct spectrum_case {
        const char* name;
        std::array<double, 3> lambda;
    };
    const spectrum_case cases[] = {
        {"distinct", {1, 2, 3}},
        {"repeated pair", {2, 2, 5}},
        {"threefold", {-3, -3, -3}},
        {"nearly repeated", {1, 1 + 1e-6, 2}},
        {"mixed signs", {-5, 0.5, 3}},
        {"opposite pair", {-1, 1, 0}},
        {"zero pair", {0, 0, 1}},
        {"all zero", {0, 0, 0}},
        {"wide range", {1e-6, 1, 1e6}},
        {"tiny scale", {-2e-20, 3e-20, 7e-20}},
        {"huge scale", {-2e20, 3e20, 7e20}},
    };
    constexpr int matrices_per_case = 200;
    const double eps = std::numeric_limits<float>::epsilon();
    const double tol = 8 * eps;

    spectrum_source source(20240611u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double norm =
            std::max({std::fabs(c.lambda[0]), std::fabs(c.lambda[1]), std::fabs(c.lambda[2])});
        for (int n = 0; n < matrices_per_case; ++n) {
            SCOPED_TRACE(testing::Message() << "matrix " << n);
            const auto q = source.rotation();
            rows3 rows;
            for (int i = 0; i < 3; ++i) {
                for (int j = i; j < 3; ++j) {
                    double sum = 0;
                    for (int k = 0; k < 3; ++k) sum += q[i][k] * c.lambda[k] * q[j][k];
                    rows[i][j] = static_cast<float>(sum);
                    // Values below the diagonal that must not matter.
                    if (j > i) rows[j][i] = static_cast<float>(-1000 * sum - 1);
                }
            }
            const solution s = solve_as_matrix(rows);
            auto a = [&](int i, int j) -> double { return i <= j ? rows[i][j] : rows[j][i]; };
            auto vk = [&](int i, int k) -> double { return s.v[i][k]; };

            double worst_residual = 0;
            for (int k = 0; k < 3; ++k) {
                double r2 = 0;
                for (int i = 0; i < 3; ++i) {
                    double av = 0;
                    for (int j = 0; j < 3; ++j) av += a(i, j) * vk(j, k);
                    const double r = av - s.d[k] * vk(i, k);
                    r2 += r * r;
                }
                worst_residual = std::max(worst_residual, std::sqrt(r2));
            }
            EXPECT_LE(worst_residual, tol * norm);

            double worst_orthonormality = 0;
            for (int k = 0; k < 3; ++k) {
                for (int l = 0; l < 3; ++l) {
                    double dot = 0;
                    for (int i = 0; i < 3; ++i) dot += vk(i, k) * vk(i, l);
                    worst_orthonormality =
                        std::max(worst_orthonormality, std::fabs(dot - (k == l ? 1.0 : 0.0)));
                }
            }
            EXPECT_LE(worst_orthonormality, tol);

            const double det = vk(0, 0) * (vk(1, 1) * vk(2, 2) - vk(1, 2) * vk(2, 1)) -
                               vk(0, 1) * (vk(1, 0) * vk(2, 2) - vk(1, 2) * vk(2, 0)) +
                               vk(0, 2) * (vk(1, 0) * vk(2, 1) - vk(1, 1) * vk(2, 0));
            EXPECT_NEAR(det, 1.0, tol);

            // The float matrix differs from Q diag(lambda) Q^T by rounding of order eps.
            std::array<double, 3> found = {s.d[0], s.d[1], s.d[2]};
            std::array<double, 3> wanted = c.lambda;
            std::sort(found.begin(), found.end());
            std::sort(wanted.begin(), wanted.end());
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(found[k], wanted[k], tol * norm);

            expect_input_left_as_required(s, rows);
            if (::testing::Test::HasFailure()) return;  // one reported matrix is enough
        }
    }
}

}  // namespace

// Tensor parameters: the conventions on worked examples, the NQR lines against their closed
// forms, invariance under rotation and shielding against shift. (Refused tensors, and every
// parameter of the example tensors against tests/data/tensor_parameters/expected.py, are the
// command's transcripts.)
#include "tensor/tensor_parameters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace orvix {
namespace {

using tensor3 = std::array<double, 9>;

// The parameters of a tensor of the kind; an EFG for 27Al (I = 5/2, Q = 14.66 fm^2).
std::optional<tensor_result> computed(const tensor3& t, tensor_kind kind) {
    tensor_parameters_options options;
    options.kind = kind;
    options.spin = 2.5;
    options.q_fm2 = 14.66;
    return compute_tensor_parameters({"T", t}, options);
}

// 11, 22, 33, then the parameters, the eta = 1 flag last.
std::vector<double> shift_numbers(const shift_parameters& p) {
    std::vector<double> numbers(p.iupac.values.begin(), p.iupac.values.end());
    numbers.insert(numbers.end(), {p.iso, p.xx, p.yy, p.zz, p.zeta, p.delta_aniso, p.eta, p.span,
                                   p.skew, static_cast<double>(p.zeta_sign_chosen)});
    return numbers;
}

// The symmetric part of [[5,1,0],[3,5,0],[0,0,-2]] has principal values -2, 3, 7 (the block
// [[5,2],[2,5]] gives 5 -+ 2); iso 8/3, Haeberlen xx = 7, yy = 3, zz = -2, zeta = -14/3,
// Delta = -7, eta = (3 - 7)/zeta = 6/7, span 9, skew -+1/9. diag(0, 1, 2): iso 1, zz and xx
// equally far, zz taken as the larger, eta 1.
TEST(TensorParameters, WorkedExamples) {
    // clang-format off
    const std::tuple<tensor3, tensor_kind, std::vector<double>> cases[] = {
        {{5, 1, 0, 3, 5, 0, 0, 0, -2}, tensor_kind::shielding, {-2, 3, 7, 8.0 / 3, 7, 3, -2, -14.0 / 3, -7, 6.0 / 7, 9, -1.0 / 9, 0}},
        {{5, 1, 0, 3, 5, 0, 0, 0, -2}, tensor_kind::shift, {7, 3, -2, 8.0 / 3, 7, 3, -2, -14.0 / 3, -7, 6.0 / 7, 9, 1.0 / 9, 0}},
        {{0, 0, 0, 0, 1, 0, 0, 0, 2}, tensor_kind::shielding, {0, 1, 2, 1, 0, 1, 2, 1, 1.5, 1, 2, 0, 1}},
    };
    // clang-format on
    for (const auto& [t, kind, want] : cases) {
        const std::vector<double> got = shift_numbers(computed(t, kind).value().shift);
        for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-12) << k;
    }
}

// Two values equally far from iso to within 1e-12 of the largest magnitude count as a tie:
// diag(0, k, 2k + e) with e/3 = 1.5e-12 k lies within that of 2k, the third and largest value.
TEST(TensorParameters, TieToleranceIsAPartOfTheLargestMagnitude) {
    const double k = 1e6;
    principal_frame frame;
    frame.values = {0, k, 2 * k + 4.5e-12 * k};
    frame.axes = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    EXPECT_TRUE(shift_tensor_parameters(frame, tensor_kind::shielding).value().zeta_sign_chosen);
    frame.values[2] = 2 * k + 9e-12 * k;
    EXPECT_FALSE(shift_tensor_parameters(frame, tensor_kind::shielding).value().zeta_sign_chosen);
}

TEST(TensorParameters, NqrLinesAgainstClosedForms) {
    // I = 1: nu+- = (3/4) C_Q (1 +- eta/3), nu0 = (1/2) C_Q eta. I = 3/2: one line,
    // (C_Q/2) sqrt(1 + eta^2/3). The sign of C_Q does not change a line.
    const auto three_halves = [](double cq, double eta) {
        return std::vector<double>{std::fabs(cq) / 2 * std::sqrt(1 + eta * eta / 3)};
    };
    // clang-format off
    const std::tuple<double, double, double, std::vector<double>> cases[] = {
        {1.0, 0.5, 1.0, {0.25, 0.625, 0.875}}, {1.0, 0.0, 1.0, {0.75}},
        {-2.0, 1.0, 1.0, {1.0, 2.0}},  // nu0 = nu- = 1 MHz are one line
        {2.5, 0.0, 1.5, three_halves(2.5, 0.0)}, {2.5, 0.3, 1.5, three_halves(2.5, 0.3)},
        {-7.0, 1.0, 1.5, three_halves(-7.0, 1.0)}, {0.0, 0.5, 2.5, {}},
    };
    // clang-format on
    for (const auto& [cq, eta, spin, want] : cases) {
        SCOPED_TRACE(testing::Message() << "C_Q " << cq << ", eta " << eta << ", I " << spin);
        const std::vector<double> lines = nqr_frequencies(cq, eta, spin);
        ASSERT_EQ(lines.size(), want.size());
        for (std::size_t k = 0; k < lines.size(); ++k) EXPECT_NEAR(lines[k], want[k], 1e-12);
    }
}

// Every number the three kinds report for a tensor, the NQR lines included.
std::vector<double> every_parameter(const tensor3& t) {
    std::vector<double> out;
    for (tensor_kind kind : {tensor_kind::shielding, tensor_kind::shift}) {
        const std::vector<double> numbers = shift_numbers(computed(t, kind).value().shift);
        out.insert(out.end(), numbers.begin(), numbers.end());
    }
    const efg_parameters e = computed(t, tensor_kind::efg).value().efg;
    out.insert(out.end(), {e.frame.values[0], e.frame.values[1], e.frame.values[2], e.trace, e.eta,
                           e.cq, e.pq, e.nu_q, static_cast<double>(e.vzz_sign_chosen)});
    out.insert(out.end(), e.nqr.begin(), e.nqr.end());
    return out;
}

// Random tensors (not symmetric, with a trace) and the special cases eta = 1 of both kinds
// and an axially symmetric tensor, turned by random rotations R T R^T: every parameter stays.
// And -T as a shift has the span, skew and eta of T as a shielding, and zeta of opposite sign.
TEST(TensorParameters, RotationLeavesEveryParameterAndShiftMirrorsShielding) {
    std::mt19937 random(20240613);
    std::uniform_real_distribution<double> element(-100.0, 100.0);
    std::normal_distribution<double> normal;
    std::vector<tensor3> tensors = {{110, 0, 0, 0, 100, 0, 0, 0, 90},
                                    {-0.1, 0, 0, 0, 0, 0, 0, 0, 0.1},
                                    {0.05, 0, 0, 0, 0.05, 0, 0, 0, -0.1}};
    for (int n = 0; n < 20; ++n) {
        tensor3 t;
        for (double& x : t) x = element(random);
        tensors.push_back(t);
    }
    for (std::size_t n = 0; n < tensors.size(); ++n) {
        const tensor3& t = tensors[n];
        const std::vector<double> before = every_parameter(t);
        tensor3 negated;
        for (int k = 0; k < 9; ++k) negated[k] = -t[k];
        const shift_parameters sigma = computed(t, tensor_kind::shielding)->shift;
        const shift_parameters delta = computed(negated, tensor_kind::shift)->shift;
        if (n >= 3) {  // at eta = 1 the choice of zz breaks the mirror
            EXPECT_NEAR(delta.skew, sigma.skew, 1e-12);
            EXPECT_NEAR(delta.span, sigma.span, 1e-10);
            EXPECT_NEAR(delta.eta, sigma.eta, 1e-12);
            EXPECT_NEAR(delta.zeta, -sigma.zeta, 1e-10);
        }
        for (int turn = 0; turn < 5; ++turn) {
            double w = normal(random), x = normal(random), y = normal(random), z = normal(random);
            const double k = 2 / (w * w + x * x + y * y + z * z);  // the quaternion's rotation
            // clang-format off
            const double r[9] = {1 - k * (y * y + z * z), k * (x * y - z * w), k * (x * z + y * w),
                                 k * (x * y + z * w), 1 - k * (x * x + z * z), k * (y * z - x * w),
                                 k * (x * z - y * w), k * (y * z + x * w), 1 - k * (x * x + y * y)};
            // clang-format on
            tensor3 u{};
            for (int p = 0; p < 81; ++p)  // u_ij = r_ik t_kl r_jl
                u[p / 9] += r[p / 27 * 3 + p / 3 % 3] * t[p % 9] * r[p / 9 % 3 * 3 + p % 3];
            const std::vector<double> after = every_parameter(u);
            ASSERT_EQ(after.size(), before.size());
            for (std::size_t i = 0; i < before.size(); ++i)
                EXPECT_NEAR(after[i], before[i], 1e-9 * std::max(1.0, std::fabs(before[i]))) << i;
        }
    }
}

}  // namespace
}  // namespace orvix

// Tensor parameters: the conventions on worked examples, the tolerance of a tie and the NQR
// lines against their closed forms. (Every parameter of the example tensors against
// tests/data/tensor_parameters/expected.py, and refused tensors, are the command's transcripts.)
#include "tensor/tensor_parameters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace orvix {
namespace {

using tensor3 = std::array<double, 9>;

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
        const shift_parameters p =
            compute_tensor_parameters({"T", t}, {kind, {}, "", 0, 0}).value().shift;
        // 11, 22, 33, then the parameters, the eta = 1 flag last.
        // clang-format off
        const double got[] = {p.iupac.values[0], p.iupac.values[1], p.iupac.values[2], p.iso, p.xx, p.yy, p.zz,
                              p.zeta, p.delta_aniso, p.eta, p.span, p.skew, static_cast<double>(p.zeta_sign_chosen)};
        // clang-format on
        for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-12) << k;
    }
}

// Two values equally far from iso to within 1e-12 of the largest magnitude count as a tie:
// with k = 1e6, (0, k, 2k + e) and (2k + e, k, 0) are a tie for e/3 = 1.5e-12 k, within that
// of 2k, the largest value, wherever it stands; not for e/3 = 3e-12 k.
TEST(TensorParameters, TieToleranceIsAPartOfTheLargestMagnitude) {
    for (const double e : {4.5e-6, 9e-6}) {
        const principal_frame up{{0, 1e6, 2e6 + e}, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}};
        for (const principal_frame& f : {up, principal_frame{{2e6 + e, 1e6, 0}, up.axes}})
            EXPECT_EQ(shift_tensor_parameters(f, tensor_kind::shielding)->zeta_sign_chosen,
                      e < 5e-6);
    }
}

// An EFG of diag(-1, -2, 3) au: Vzz = 3, eta = (Vxx - Vyy)/Vzz = 1/3; for 27Al (I = 5/2,
// Q = 14.66 fm^2) C_Q = e Q Vzz / h = 103.33750943 MHz (CODATA 2018 e, h and atomic unit of
// EFG), P_Q = C_Q sqrt(1 + eta^2/3), nu_Q = 3 C_Q / (2I(2I - 1)). Shifts against a reference
// shielding of 170 ppm: (170 - sigma)/(1 - 170e-6).
TEST(TensorParameters, EfgAndReferencedShifts) {
    const double cq = 103.33750943145;
    const auto efg = compute_tensor_parameters({"T", {-1, 0, 0, 0, -2, 0, 0, 0, 3}},
                                               {tensor_kind::efg, {}, "27Al", 2.5, 14.66});
    EXPECT_EQ(efg->efg.frame.values, (std::array<double, 3>{-1, -2, 3}));
    EXPECT_NEAR(efg->efg.eta, 1.0 / 3, 1e-15);
    EXPECT_NEAR(efg->efg.cq, cq, 1e-9);
    EXPECT_NEAR(efg->efg.pq, cq * std::sqrt(28.0 / 27), 1e-9);
    EXPECT_NEAR(efg->efg.nu_q, 3 * cq / 20, 1e-9);
    const auto referenced = compute_tensor_parameters({"T", {0, 0, 0, 0, 1, 0, 0, 0, 2}},
                                                      {tensor_kind::shielding, 170.0, "", 0, 0});
    for (const auto& [k, sigma] : {std::pair{0, 1.0}, {1, 0.0}, {2, 1.0}, {3, 2.0}})
        EXPECT_NEAR(referenced->referenced[k], (170 - sigma) / (1 - 170e-6), 1e-12) << k;
}

TEST(TensorParameters, NqrLinesAgainstClosedForms) {
    // I = 1: nu+- = (3/4) C_Q (1 +- eta/3), nu0 = (1/2) C_Q eta. I = 3/2: one line,
    // (C_Q/2) sqrt(1 + eta^2/3). The sign of C_Q does not change a line.
    // clang-format off
    const std::tuple<double, double, double, std::vector<double>> cases[] = {
        {1.0, 0.5, 1.0, {0.25, 0.625, 0.875}}, {1.0, 0.0, 1.0, {0.75}},
        {-2.0, 1.0, 1.0, {1.0, 2.0}},  // nu0 = nu- = 1 MHz are one line
        {2.5, 0.0, 1.5, {1.25}}, {2.5, 0.3, 1.5, {1.25 * std::sqrt(1.03)}}, {-7.0, 1.0, 1.5, {3.5 * std::sqrt(4.0 / 3)}},
    };
    // clang-format on
    for (const auto& [cq, eta, spin, want] : cases) {
        const std::vector<double> lines = nqr_frequencies(cq, eta, spin);
        ASSERT_EQ(lines.size(), want.size()) << "C_Q " << cq << ", eta " << eta << ", I " << spin;
        for (std::size_t k = 0; k < lines.size(); ++k) EXPECT_NEAR(lines[k], want[k], 1e-12);
    }
}

}  // namespace
}  // namespace orvix

// Tensor parameters: the conventions on a worked example, the NQR lines against their known
// closed forms, invariance under rotation, shielding against shift, and the action end to end
// (golden report and CSV written by tests/data/tensor_parameters/expected.py with numpy).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/messages.h"
#include "dipolar/nuclei.h"
#include "support/test_support.h"
#include "tensor/tensor_parameters.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_data;
using test::read_file;
using test::run_on_text;
using test::scratch_dir;

using tensor3 = std::array<double, 9>;

shift_parameters shift_of(const tensor3& t, tensor_kind kind) {
    const auto frame = symmetric_principal_frame(t);
    EXPECT_TRUE(frame.has_value());
    const auto p = shift_tensor_parameters(*frame, kind);
    EXPECT_TRUE(p.has_value());
    return p.value_or(shift_parameters{});
}

efg_parameters efg_of(const tensor3& t, double spin, double q_barn) {
    const auto frame = symmetric_principal_frame(t);
    EXPECT_TRUE(frame.has_value());
    const auto p = efg_tensor_parameters(*frame, spin, q_barn);
    EXPECT_TRUE(p.has_value());
    return p.value_or(efg_parameters{});
}

// The symmetric part of [[5,1,0],[3,5,0],[0,0,-2]] has principal values -2, 3, 7 (by hand:
// the block [[5,2],[2,5]] gives 5 -+ 2); iso 8/3, Haeberlen zz = -2, zeta = -14/3,
// Delta = -7, eta = (3 - 7)/zeta = 6/7, span 9, skew -+1/9.
TEST(TensorParameters, WorkedExample) {
    const tensor3 t = {5, 1, 0, 3, 5, 0, 0, 0, -2};
    struct {
        tensor_kind kind;
        std::array<double, 3> iupac;
        double skew;
    } cases[] = {{tensor_kind::shielding, {-2, 3, 7}, -1.0 / 9},
                 {tensor_kind::shift, {7, 3, -2}, 1.0 / 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind == tensor_kind::shift ? "shift" : "shielding");
        const shift_parameters p = shift_of(t, c.kind);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(p.iupac.values[k], c.iupac[k], 1e-12);
        EXPECT_NEAR(p.iso, 8.0 / 3, 1e-12);
        EXPECT_NEAR(p.xx, 7, 1e-12);
        EXPECT_NEAR(p.yy, 3, 1e-12);
        EXPECT_NEAR(p.zz, -2, 1e-12);
        EXPECT_NEAR(p.zeta, -14.0 / 3, 1e-12);
        EXPECT_NEAR(p.delta_aniso, -7, 1e-12);
        EXPECT_NEAR(p.eta, 6.0 / 7, 1e-12);
        EXPECT_FALSE(p.zeta_sign_chosen);
        EXPECT_NEAR(p.span, 9, 1e-12);
        EXPECT_NEAR(p.skew, c.skew, 1e-12);
    }
}

TEST(TensorParameters, NqrLinesAgainstClosedForms) {
    // I = 1: nu+- = (3/4) C_Q (1 +- eta/3), nu0 = (1/2) C_Q eta. I = 3/2: one line,
    // (C_Q/2) sqrt(1 + eta^2/3). The sign of C_Q does not change a line.
    const auto three_halves = [](double cq, double eta) {
        return std::vector<double>{std::fabs(cq) / 2 * std::sqrt(1 + eta * eta / 3)};
    };
    struct {
        const char* name;
        double cq, eta, spin;
        std::vector<double> lines;
    } cases[] = {
        {"I = 1, eta = 0.5", 1.0, 0.5, 1.0, {0.25, 0.625, 0.875}},
        {"I = 1, eta = 0: the two lines coincide", 1.0, 0.0, 1.0, {0.75}},
        // nu0 = nu- = 1 MHz are one line; nu+ = 2 MHz.
        {"I = 1, eta = 1, negative C_Q", -2.0, 1.0, 1.0, {1.0, 2.0}},
        {"I = 3/2, eta = 0", 2.5, 0.0, 1.5, three_halves(2.5, 0.0)},
        {"I = 3/2, eta = 0.3", 2.5, 0.3, 1.5, three_halves(2.5, 0.3)},
        {"I = 3/2, eta = 1, negative C_Q", -7.0, 1.0, 1.5, three_halves(-7.0, 1.0)},
        {"C_Q = 0", 0.0, 0.5, 2.5, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> lines = nqr_frequencies(c.cq, c.eta, c.spin);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (std::size_t k = 0; k < lines.size(); ++k) EXPECT_NEAR(lines[k], c.lines[k], 1e-12);
    }
}

// A rotation from a unit quaternion.
std::array<double, 9> rotation(std::mt19937& random) {
    std::normal_distribution<double> normal;
    double q[4];
    double norm = 0;
    for (double& x : q) {
        x = normal(random);
        norm += x * x;
    }
    for (double& x : q) x /= std::sqrt(norm);
    const double w = q[0], x = q[1], y = q[2], z = q[3];
    return {1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
            2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
            2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
}

// R T R^T
tensor3 rotated(const tensor3& t, const std::array<double, 9>& r) {
    tensor3 out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                for (int l = 0; l < 3; ++l)
                    out[i * 3 + j] += r[i * 3 + k] * t[k * 3 + l] * r[j * 3 + l];
    return out;
}

// Random tensors (not symmetric, with a trace), the special cases eta = 1 and an axially
// symmetric tensor among them, each turned by random rotations: every parameter stays, and
// each principal axis turns with the tensor.
TEST(TensorParameters, RotationLeavesEveryParameter) {
    std::mt19937 random(20240613);
    std::uniform_real_distribution<double> element(-100.0, 100.0);
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
        const shift_parameters s = shift_of(t, tensor_kind::shielding);
        const shift_parameters d = shift_of(t, tensor_kind::shift);
        const efg_parameters e = efg_of(t, 2.5, 0.1466);
        for (int turn = 0; turn < 5; ++turn) {
            SCOPED_TRACE("tensor " + std::to_string(n) + ", rotation " + std::to_string(turn));
            const std::array<double, 9> r = rotation(random);
            const tensor3 u = rotated(t, r);
            const double scale =
                1e-11 * std::max(1.0, std::fabs(s.iupac.values[0]) + std::fabs(s.iupac.values[2]));
            for (const auto& [before, after] : {std::pair{s, shift_of(u, tensor_kind::shielding)},
                                                std::pair{d, shift_of(u, tensor_kind::shift)}}) {
                for (double shift_parameters::*member :
                     {&shift_parameters::iso, &shift_parameters::xx, &shift_parameters::yy,
                      &shift_parameters::zz, &shift_parameters::zeta,
                      &shift_parameters::delta_aniso, &shift_parameters::eta,
                      &shift_parameters::span, &shift_parameters::skew})
                    EXPECT_NEAR(after.*member, before.*member, scale);
                EXPECT_EQ(after.zeta_sign_chosen, before.zeta_sign_chosen);
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(after.iupac.values[k], before.iupac.values[k], scale);
                    // Only where the value is not degenerate is its axis defined.
                    if (before.span == 0 || before.eta == 0) continue;
                    double turned_dot = 0;
                    for (int i = 0; i < 3; ++i) {
                        double turned = 0;
                        for (int j = 0; j < 3; ++j)
                            turned += r[i * 3 + j] * before.iupac.axes[k][j];
                        turned_dot += turned * after.iupac.axes[k][i];
                    }
                    EXPECT_NEAR(std::fabs(turned_dot), 1.0, 1e-9);
                }
            }
            const efg_parameters f = efg_of(u, 2.5, 0.1466);
            for (double efg_parameters::*member :
                 {&efg_parameters::trace, &efg_parameters::eta, &efg_parameters::cq,
                  &efg_parameters::pq, &efg_parameters::nu_q})
                EXPECT_NEAR(f.*member, e.*member, scale);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(f.frame.values[k], e.frame.values[k], scale);
            ASSERT_EQ(f.nqr.size(), e.nqr.size());
            for (std::size_t k = 0; k < e.nqr.size(); ++k) EXPECT_NEAR(f.nqr[k], e.nqr[k], scale);
        }
    }
}

// A shielding tensor and the shift tensor -sigma describe the same physics: the same span,
// skew and eta, and zeta of the opposite sign.
TEST(TensorParameters, ShieldingAndNegatedShiftAgree) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> element(-300.0, 300.0);
    for (int n = 0; n < 20; ++n) {
        SCOPED_TRACE(n);
        tensor3 t;
        for (double& x : t) x = element(random);
        tensor3 negated;
        for (int k = 0; k < 9; ++k) negated[k] = -t[k];
        const shift_parameters sigma = shift_of(t, tensor_kind::shielding);
        const shift_parameters delta = shift_of(negated, tensor_kind::shift);
        EXPECT_NEAR(delta.skew, sigma.skew, 1e-12);
        EXPECT_NE(sigma.skew, 0.0);
        EXPECT_NEAR(delta.span, sigma.span, 1e-10);
        EXPECT_NEAR(delta.eta, sigma.eta, 1e-12);
        EXPECT_NEAR(delta.zeta, -sigma.zeta, 1e-10);
    }
}

tensor_parameters_record record_of(int kind, std::optional<double> reference, const char* nucleus,
                                   bool csv) {
    tensor_parameters_record r;
    r.kind = kind;
    r.has_reference = reference.has_value();
    r.reference = reference.value_or(0.0);
    r.nucleus = nucleus != nullptr ? *find_nucleus_position(nucleus) : -1;
    r.csv = csv;
    return r;
}

TEST(TensorParametersAction, GoldenReportAndCsv) {
    struct {
        const char* input;
        tensor_parameters_record record;
        const char* expected;
    } cases[] = {
        {"shielding.cry", record_of(0, 170.0, nullptr, false), "shielding.ref170.expected.cry"},
        {"efg.cry", record_of(2, {}, "27Al", true), "efg.27Al.expected.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        scratch_dir dir;
        scripted_services ui;
        ui.on_tensor_parameters = [&c](tensor_parameters_record& r) {
            r = c.record;
            return dialog_result::ok;
        };
        EXPECT_EQ(
            run_on_text(tensor_parameters_command, ui,
                        read_data(std::string("tensor_parameters/") + c.input), dir.file("result")),
            action_result::completed);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(read_file(dir.file("result")),
                  read_data(std::string("tensor_parameters/") + c.expected));
    }
}

// Refused inputs and records: the message, and an empty result.
TEST(TensorParametersAction, Refusals) {
    const std::string tensor = "/* c */\nA 1 0 0 0 2 0 0 0 3\n";
    struct {
        const char* name;
        std::string input;
        tensor_parameters_record record;
        std::string_view message;
    } cases[] = {
        {"no tensor line", "/* c */\n1 0 0\n0 1 0\n0 0 1\nA 1 2 3\n", {}, msg::wrong_data_format},
        {"an infinite element", tensor + "B 1 0 0 0 inf 0 0 0 1\n", {}, msg::wrong_data_format},
        {"a NaN element", tensor + "B 1 0 0 0 1 0 0 0 nan\n", {}, msg::wrong_data_format},
        {"an element beyond double precision",
         tensor + "B 1e400 0 0 0 1 0 0 0 1\n",
         {},
         msg::wrong_data_format},
        {"a principal value beyond double precision",
         tensor + "B 1e308 1e308 0 1e308 1e308 0 0 0 1\n",
         {},
         msg::wrong_data_format},
        {"a C_Q beyond double precision", tensor + "B 1e307 0 0 0 1e307 0 0 0 -1.7e308\n",
         record_of(2, {}, "27Al", false), msg::wrong_data_format},
        {"EFG without a nucleus", tensor, record_of(2, {}, nullptr, false), no_quadrupolar_nucleus},
        {"EFG of a spin-1/2 nucleus", tensor, record_of(2, {}, "13C", false),
         no_quadrupolar_nucleus},
        {"a reference of 1e6 ppm", tensor, record_of(0, 1e6, nullptr, false), reference_not_usable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        scripted_services ui;
        ui.on_tensor_parameters = [&c](tensor_parameters_record& r) {
            r = c.record;
            return dialog_result::ok;
        };
        EXPECT_EQ(run_on_text(tensor_parameters_command, ui, crlf(c.input), dir.file("result")),
                  action_result::failed);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, message_icon::error);
        EXPECT_EQ(read_file(dir.file("result")), "");
    }
}

}  // namespace
}  // namespace orvix

// Tensor parameters: the conventions on a worked example, the NQR lines against their known
// closed forms, invariance under rotation, shielding against shift, and the action end to end
// (golden reports and CSV tables written by tests/data/tensor_parameters/expected.py with
// numpy).
#include "tensor/tensor_parameters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "actions/messages.h"
#include "dipolar/nuclei.h"
#include "support/test_support.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_data;
using test::read_file;
using test::run_on_text;
using test::scratch_dir;

using tensor3 = std::array<double, 9>;

// The parameters of a tensor of the kind; an EFG for 27Al (I = 5/2, Q = 14.66 fm^2).
tensor_result computed(const tensor3& t, tensor_kind kind) {
    tensor_parameters_options options;
    options.kind = kind;
    options.spin = 2.5;
    options.q_fm2 = 14.66;
    const auto result = compute_tensor_parameters({"T", t}, options);
    EXPECT_TRUE(result.has_value());
    return result.value_or(tensor_result{});
}

// The numbers of a shielding or shift block: 11, 22, 33, then the parameters, the eta = 1
// flag last.
std::vector<double> shift_numbers(const shift_parameters& p) {
    std::vector<double> numbers(p.iupac.values.begin(), p.iupac.values.end());
    numbers.insert(numbers.end(), {p.iso, p.xx, p.yy, p.zz, p.zeta, p.delta_aniso, p.eta, p.span,
                                   p.skew, static_cast<double>(p.zeta_sign_chosen)});
    return numbers;
}

// The symmetric part of [[5,1,0],[3,5,0],[0,0,-2]] has principal values -2, 3, 7 (by hand:
// the block [[5,2],[2,5]] gives 5 -+ 2); iso 8/3, Haeberlen xx = 7, yy = 3, zz = -2,
// zeta = -14/3, Delta = -7, eta = (3 - 7)/zeta = 6/7, span 9, skew -+1/9.
TEST(TensorParameters, WorkedExample) {
    struct {
        tensor_kind kind;
        std::vector<double> want;
    } cases[] = {
        {tensor_kind::shielding,
         {-2, 3, 7, 8.0 / 3, 7, 3, -2, -14.0 / 3, -7, 6.0 / 7, 9, -1.0 / 9, 0}},
        {tensor_kind::shift, {7, 3, -2, 8.0 / 3, 7, 3, -2, -14.0 / 3, -7, 6.0 / 7, 9, 1.0 / 9, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind == tensor_kind::shift ? "shift" : "shielding");
        const std::vector<double> got =
            shift_numbers(computed({5, 1, 0, 3, 5, 0, 0, 0, -2}, c.kind).shift);
        for (std::size_t k = 0; k < c.want.size(); ++k) EXPECT_NEAR(got[k], c.want[k], 1e-12) << k;
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

// Every number the three kinds report for a tensor, the NQR lines included.
std::vector<double> every_parameter(const tensor3& t) {
    std::vector<double> out;
    for (tensor_kind kind : {tensor_kind::shielding, tensor_kind::shift}) {
        const std::vector<double> numbers = shift_numbers(computed(t, kind).shift);
        out.insert(out.end(), numbers.begin(), numbers.end());
    }
    const efg_parameters e = computed(t, tensor_kind::efg).efg;
    out.insert(out.end(), {e.frame.values[0], e.frame.values[1], e.frame.values[2], e.trace, e.eta,
                           e.cq, e.pq, e.nu_q, static_cast<double>(e.vzz_sign_chosen)});
    out.insert(out.end(), e.nqr.begin(), e.nqr.end());
    return out;
}

// Random tensors (not symmetric, with a trace) and the special cases eta = 1 (both kinds) and
// an axially symmetric tensor, each turned by random rotations R T R^T (R from a random unit
// quaternion): every parameter stays.
TEST(TensorParameters, RotationLeavesEveryParameter) {
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
        const std::vector<double> before = every_parameter(tensors[n]);
        for (int turn = 0; turn < 5; ++turn) {
            SCOPED_TRACE("tensor " + std::to_string(n) + ", rotation " + std::to_string(turn));
            double q[4], norm = 0;
            for (double& x : q) {
                x = normal(random);
                norm += x * x;
            }
            const double w = q[0] / std::sqrt(norm), x = q[1] / std::sqrt(norm),
                         y = q[2] / std::sqrt(norm), z = q[3] / std::sqrt(norm);
            const double r[9] = {
                1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
                2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
                2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
            tensor3 u{};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    for (int k = 0; k < 3; ++k)
                        for (int l = 0; l < 3; ++l)
                            u[i * 3 + j] += r[i * 3 + k] * tensors[n][k * 3 + l] * r[j * 3 + l];
            const std::vector<double> after = every_parameter(u);
            ASSERT_EQ(after.size(), before.size());
            for (std::size_t k = 0; k < before.size(); ++k)
                EXPECT_NEAR(after[k], before[k], 1e-9 * std::max(1.0, std::fabs(before[k]))) << k;
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
        tensor3 t, negated;
        for (int k = 0; k < 9; ++k) negated[k] = -(t[k] = element(random));
        const shift_parameters sigma = computed(t, tensor_kind::shielding).shift;
        const shift_parameters delta = computed(negated, tensor_kind::shift).shift;
        EXPECT_NEAR(delta.skew, sigma.skew, 1e-12);
        EXPECT_NE(sigma.skew, 0.0);
        EXPECT_NEAR(delta.span, sigma.span, 1e-10);
        EXPECT_NEAR(delta.eta, sigma.eta, 1e-12);
        EXPECT_NEAR(delta.zeta, -sigma.zeta, 1e-10);
    }
}

tensor_parameters_record record_of(int kind, std::optional<double> reference, const char* nucleus,
                                   bool csv) {
    return {kind, reference.has_value(), reference.value_or(0.0),
            nucleus != nullptr ? *find_nucleus_position(nucleus) : -1, csv};
}

// Runs the action on the input with the record as the dialog's answer.
action_result run_with(const tensor_parameters_record& record, const std::string& input,
                       scripted_services& ui, const std::string& result) {
    ui.on_tensor_parameters = [&record](tensor_parameters_record& r) {
        r = record;
        return dialog_result::ok;
    };
    return run_on_text(cmd::tensor_parameters, ui, input, result);
}

TEST(TensorParametersAction, GoldenReportsAndCsv) {
    struct {
        const char* input;
        tensor_parameters_record record;
        const char* expected;
    } cases[] = {
        {"shielding.cry", record_of(0, 170.0, nullptr, false), "shielding.ref170.expected.cry"},
        {"shielding.cry", record_of(0, 170.0, nullptr, true), "shielding.ref170.expected.csv"},
        {"efg.cry", record_of(2, {}, "14N", false), "efg.14N.expected.cry"},
        {"efg.cry", record_of(2, {}, "27Al", true), "efg.27Al.expected.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        scratch_dir dir;
        scripted_services ui;
        EXPECT_EQ(run_with(c.record, read_data(std::string("tensor_parameters/") + c.input), ui,
                           dir.file("result")),
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
        EXPECT_EQ(run_with(c.record, crlf(c.input), ui, dir.file("result")), action_result::failed);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, message_icon::error);
        EXPECT_EQ(read_file(dir.file("result")), "");
    }
}

}  // namespace
}  // namespace orvix

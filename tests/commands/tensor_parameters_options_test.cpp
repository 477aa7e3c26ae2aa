// orvix-cli tensor-parameters: options become the dialog's answers, and the combinations the
// dialog would not let through are usage errors that name the problem.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dipolar/nuclei.h"
#include "support/test_support.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {
namespace {

// The action's result for a record filled by hand.
std::string result_for(const tensor_parameters_record& record, const std::string& input) {
    test::scratch_dir dir;
    scripted_services ui;
    ui.on_tensor_parameters = [&record](tensor_parameters_record& r) {
        r = record;
        return dialog_result::ok;
    };
    EXPECT_EQ(test::run_on_text(cmd::tensor_parameters, ui, input, dir.file("r")),
              action_result::completed);
    return test::read_file(dir.file("r"));
}

TEST(TensorParametersCli, OptionsAnswerTheDialogOrAreUsageErrors) {
    const std::string input = test::read_data("tensor_parameters/shielding.cry");
    const int al27 = *find_nucleus_position("27Al");
    struct {
        std::vector<std::string> args;
        tensor_parameters_record record;  // the answer, for status 0
        const char* named;                // what the message names, for status 2
    } cases[] = {
        {{}, {}, nullptr},
        {{"--kind", "shielding", "--reference", "-12.5"}, {0, true, -12.5, -1, false}, nullptr},
        {{"--kind=shift", "--csv"}, {1, false, 0, -1, true}, nullptr},
        {{"--kind", "efg", "--nucleus", "27al"}, {2, false, 0, al27, false}, nullptr},
        {{"--kind", "efg"}, {}, "--nucleus"},
        {{"--kind", "efg", "--nucleus", "13C"}, {}, "spin 1/2"},
        {{"--kind", "shift", "--reference", "170"}, {}, "--reference"},
        {{"--kind", "efg", "--nucleus", "27Al", "--reference", "170"}, {}, "--reference"},
        {{"--reference", "1e6"}, {}, "--reference"},
        {{"--reference", "ppm"}, {}, "--reference"},
        {{"--nucleus", "27Al"}, {}, "--nucleus"},
        {{"--kind", "efg", "--nucleus", "99Zz"}, {}, "--nucleus"},
        {{"--kind", "quadrupole"}, {}, "--kind"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"tensor-parameters"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(testing::PrintToString(args));
        const test::cli_run run = test::run_cli(args, input);
        if (c.named == nullptr) {
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out, result_for(c.record, input));
        } else {
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        }
    }
}

}  // namespace
}  // namespace orvix

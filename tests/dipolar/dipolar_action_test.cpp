// The Dipolar Moment action through the scripted services: the dialog on the run's record,
// the reports of every failure, what stays in the result file, and the files released.
#include "dipolar/dipolar_action.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "actions/messages.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "dipolar_test_support.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;

class DipolarAction : public testing::Test {
  protected:
    void SetUp() override {
        dipolar_record() = dipolar_parameters{};
        before_ = test::temporary_copies();
    }
    void TearDown() override {
        dipolar_record() = dipolar_parameters{};
        // No temporary copy of the editor text outlives an action.
        auto after = test::temporary_copies();
        std::sort(before_.begin(), before_.end());
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, before_);
    }

    // Runs the action on the editor text; the dialog answers with `edit` applied.
    action_result run(const std::string& text, std::function<void(dipolar_parameters&)> edit,
                      dialog_result answer = dialog_result::ok) {
        ui_ = scripted_services{};
        ui_.on_dipolar = [edit, answer](dipolar_parameters& p) {
            if (edit) edit(p);
            return answer;
        };
        return test::run_on_text(cmd::dipolar_moment, ui_, text, result_path());
    }

    std::string result_path() const { return dir_.file("result.txt"); }
    std::string written() const { return read_file(result_path()); }

    test::scratch_dir dir_;
    scripted_services ui_;
    std::vector<std::string> before_;
};

const std::string cartesian = "1 1 1 90 90 90\n";

TEST_F(DipolarAction, EveryFailureIsReportedWithItsTwoMessages) {
    const struct {
        const char* name;
        std::string text;
        int type;
        std::string second;
        std::string left_in_file;
    } cases[] = {
        {"first line a comment", "/ comment\n1 1 1 90 90 90\nH 0 0 0\n", 0,
         "File contains no unit cell information (crystal axes)!", ""},
        {"no cell, single crystal", "H 0 0 0\n", 1,
         "File contains no unit cell information (crystal axes)!", ""},
        {"not Cartesian", "4.913 4.913 5.405 90 90 120\nSi 0 0 0\n", 1,
         "The crystal axis system is not Cartesian!", ""},
        {"no atom, powder", cartesian + "/ c\n", 0, "Unexpected end of data encountered!",
         "nucleus\tx\ty\tz\tdist.\tR\tM2 contribution\n/ c\n"},
        {"no atom, single crystal", cartesian + "/ c\n", 1, "Unexpected end of data encountered!",
         "/ c\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const action_result result =
            run(crlf(c.text), [&](dipolar_parameters& p) { p.moment_type = c.type; });
        EXPECT_EQ(result, action_result::failed);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text,
                  "Error in calculating dipolar second moments!\n" + c.second);
        EXPECT_EQ(ui_.messages[0].caption, "Orvix");
        EXPECT_EQ(ui_.messages[0].icon, message_icon::error);
        EXPECT_EQ(ui_.messages[0].buttons, message_buttons::ok);
        EXPECT_EQ(written(), crlf(c.left_in_file));
    }
}

// Every status string, including 3, which a computation that reads its input once can only
// meet on a failing disk.
TEST_F(DipolarAction, ErrorReportJoinsMessageSevenAndTheStatusString) {
    const struct {
        dipolar_status status;
        const char* second;
    } cases[] = {
        {dipolar_status::could_not_read, "Could not read file!"},
        {dipolar_status::no_unit_cell, "File contains no unit cell information (crystal axes)!"},
        {dipolar_status::not_cartesian, "The crystal axis system is not Cartesian!"},
        {dipolar_status::unexpected_end, "Unexpected end of data encountered!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        scripted_services ui;
        report_dipolar_status(ui, c.status);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  std::string("Error in calculating dipolar second moments!\n") + c.second);
        EXPECT_EQ(ui.messages[0].caption, msg::program_name);
        EXPECT_EQ(ui.messages[0].icon, message_icon::error);
    }
    for (dipolar_status quiet : {dipolar_status::ok, dipolar_status::cancelled}) {
        scripted_services ui;
        report_dipolar_status(ui, quiet);
        EXPECT_TRUE(ui.messages.empty());
    }
}

// Rotation angles the pattern cannot run over are refused with an error before the first
// line; a start beyond the end is no fault and gives an empty pattern.
TEST_F(DipolarAction, AngleRangesRefusedOrEmpty) {
    const struct {
        const char* name;
        std::function<void(dipolar_parameters&)> edit;
        action_result result;
        const char* message;  // null: no message
    } cases[] = {
        {"increment of zero", [](dipolar_parameters& p) { p.gamma_increment = 0; },
         action_result::failed, "The rotation angle increment must be greater than zero!"},
        {"infinite end angle",
         [](dipolar_parameters& p) { p.gamma_end = std::numeric_limits<double>::infinity(); },
         action_result::failed, "The rotation angles must be finite numbers!"},
        {"start beyond the end", [](dipolar_parameters& p) { p.gamma_start = 181; },
         action_result::completed, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_record() = dipolar_parameters{};  // each use starts from the previous one
        const action_result result = run(crlf(cartesian + "H 0 0 0\nH 1 0 0\n"), c.edit);
        EXPECT_EQ(result, c.result);
        if (c.message == nullptr) {
            EXPECT_TRUE(ui_.messages.empty());
        } else {
            ASSERT_EQ(ui_.messages.size(), 1u);
            EXPECT_EQ(ui_.messages[0].text, c.message);
            EXPECT_EQ(ui_.messages[0].caption, "Orvix");
            EXPECT_EQ(ui_.messages[0].icon, message_icon::error);
        }
        EXPECT_EQ(written(), "");
    }
}

TEST_F(DipolarAction, ANeighbourThatIsNoNumberIsRefusedWithNothingWritten) {
    for (int type : {0, 1}) {
        SCOPED_TRACE(type == 0 ? "powder" : "single crystal");
        const action_result result = run(crlf(cartesian + "H 0 0 0\nH 1 nan 0\nH 1 0 0\n"),
                                         [&](dipolar_parameters& p) { p.moment_type = type; });
        EXPECT_EQ(result, action_result::failed);
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].text, "Wrong data format!");
        EXPECT_EQ(ui_.messages[0].caption, "Orvix");
        EXPECT_EQ(ui_.messages[0].icon, message_icon::error);
        EXPECT_EQ(written(), "");
    }
}

TEST_F(DipolarAction, CancelledDialogLeavesAnEmptyResultAndKeepsTheEdits) {
    const action_result result = run(
        crlf(cartesian + "H 0 0 0\nH 1 0 0\n"),
        [](dipolar_parameters& p) {
            p.alpha = 12.5;
            select_coupled_nucleus(p, *find_nucleus_position("13C"));
        },
        dialog_result::cancel);
    EXPECT_EQ(result, action_result::cancelled);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(result_path()));
    EXPECT_EQ(written(), "");
    EXPECT_EQ(ui_.dialogs_shown, std::vector<std::string>{"Dipolar Second Moment"});
    // The closing step ran on Cancel too, and the edits stay for the next use.
    EXPECT_EQ(dipolar_record().alpha, 12.5);
    EXPECT_EQ(dipolar_record().abundance, 1.07);
    EXPECT_EQ(dipolar_record().gamma_coupled, 6.728284);
    EXPECT_EQ(dipolar_record().spin_coupled, 0.5);
}

TEST_F(DipolarAction, EachUseStartsFromThePreviousOne) {
    run(crlf(cartesian + "H 0 0 0\nH 1 0 0\n"), [](dipolar_parameters& p) {
        p.moment_type = 0;
        select_observed_nucleus(p, *find_nucleus_position("19F"));
        p.abundance = 50;
        p.cutoff = 7.5;
    });
    dipolar_parameters seen;
    run(crlf(cartesian + "H 0 0 0\nH 1 0 0\n"), [&seen](dipolar_parameters& p) { seen = p; });
    EXPECT_EQ(seen.moment_type, 0);
    EXPECT_EQ(seen.observed_nucleus, *find_nucleus_position("19F"));
    EXPECT_EQ(seen.abundance, 50);
    EXPECT_EQ(seen.cutoff, 7.5);
    EXPECT_EQ(seen.gamma_observed, 25.18148);
}

TEST_F(DipolarAction, PowderAndPatternRunToTheirEnd) {
    EXPECT_EQ(run(crlf(cartesian + "/ c\nH 0 0 0\nH 1 0 0\n"),
                  [](dipolar_parameters& p) { p.moment_type = 0; }),
              action_result::completed);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(test::report_lines(written()).size(), 4u);
    // The record now holds the powder: switch back as a user would.
    EXPECT_EQ(run(crlf(cartesian + "/ c\nH 0 0 0\nH 1 0 0\n"),
                  [](dipolar_parameters& p) { p.moment_type = 1; }),
              action_result::completed);
    const auto lines = test::report_lines(written());
    ASSERT_EQ(lines.size(), 362u);
    EXPECT_EQ(lines[0], "/ c");
    EXPECT_EQ(lines[360], "/ c");
    EXPECT_EQ(lines[361].substr(0, 7), "180    ");
}

TEST_F(DipolarAction, ProgressCancelEndsTheActionAndKeepsTheLines) {
    ui_ = scripted_services{};
    ui_.on_dipolar = [](dipolar_parameters&) { return dialog_result::ok; };
    ui_.progress_cancel_at = 10;
    const action_result result = test::run_on_text(
        cmd::dipolar_moment, ui_, crlf(cartesian + "H 0 0 0\nH 1 0 0\n"), result_path());
    EXPECT_EQ(result, action_result::cancelled);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(test::report_lines(read_file(result_path())).size(), 10u);
}

TEST_F(DipolarAction, CancelledSaveDialogShowsNoDialog) {
    ui_ = scripted_services{};
    ui_.editor = crlf(cartesian + "H 0 0 0\n");
    ui_.save_choices.push_back(std::nullopt);
    document_state doc;
    EXPECT_EQ(test::run_command(cmd::dipolar_moment, ui_, doc), action_result::cancelled);
    EXPECT_TRUE(ui_.dialogs_shown.empty());
    EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
}  // namespace orvix

// The action protocol: where the input comes from, the result file, every message, and the
// cleanup of the temporary copy on every exit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <utility>

#include "actions/action_runner.h"
#include "actions/echo_action.h"
#include "actions/messages.h"
#include "commands/command_table.h"
#include "crystal/records.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_file;
using test::scratch_dir;
using test::write_file;

const std::string sample = crlf("1 1 1 90 90 90\n/* note */\nC1 0.5 -1.25 10\n");
const std::string sample_result =
    crlf("1 1 1 90 90 90\n/* note */\nC1         0.500000    -1.250000    10.000000\n");

class ProtocolTest : public testing::Test {
  protected:
    void SetUp() override { before_ = test::temporary_copies(); }
    // No temporary copy may outlive an action, whatever its end.
    void TearDown() override { EXPECT_EQ(test::temporary_copies(), before_); }

    action_result run(const std::string& editor) {
        ui_.editor = editor;
        return test::run_command(cmd::echo_atoms, ui_, doc_);
    }

    scratch_dir dir_;
    scripted_services ui_;
    document_state doc_;
    std::vector<std::string> before_;
};

TEST_F(ProtocolTest, FileDialogsProposeTheDocumentsNameAndKeepTheirChoiceToTheAction) {
    // A result chosen in an action is no document: Save must never write over it.
    doc_.current_name = "proposed.cry";
    doc_.current_path = "/documents/proposed.cry";
    for (const char* result : {"first.cry", "second.cry"}) {
        ui_.save_choices.push_back(dir_.file(result));
        EXPECT_EQ(run(sample), action_result::completed);
        EXPECT_EQ(read_file(dir_.file(result)), sample_result);
    }
    EXPECT_EQ(ui_.proposed_save_names, (std::vector<std::string>{"proposed.cry", "proposed.cry"}));
    EXPECT_EQ(doc_.current_name, "proposed.cry");
    EXPECT_EQ(doc_.current_path, "/documents/proposed.cry");
}

TEST_F(ProtocolTest, EmptyEditorAsksForAnInputFile) {
    const std::string input = dir_.file("input.cry");
    write_file(input, sample);
    ui_.open_choices.push_back(input);
    ui_.save_choices.push_back(dir_.file("out.cry"));
    doc_.current_name = "start.cry";
    EXPECT_EQ(run(""), action_result::completed);
    EXPECT_EQ(ui_.proposed_open_names, std::vector<std::string>{"start.cry"});
    // Within the action the save dialog proposes the input file's name; the document
    // keeps its own.
    EXPECT_EQ(ui_.proposed_save_names, std::vector<std::string>{"input.cry"});
    EXPECT_EQ(doc_.current_name, "start.cry");
    EXPECT_EQ(read_file(dir_.file("out.cry")), sample_result);
    EXPECT_EQ(read_file(input), sample);
}

// A file this process can read but not open for writing, even as the superuser.
std::optional<std::string> read_only_file() {
    for (const char* candidate : {"/sys/kernel/notes", "/sys/devices/system/cpu/online"}) {
        const int read_fd = ::open(candidate, O_RDONLY);
        if (read_fd < 0) continue;
        ::close(read_fd);
        const int write_fd = ::open(candidate, O_RDWR);
        if (write_fd >= 0) {
            ::close(write_fd);
            continue;
        }
        return std::string(candidate);
    }
    return std::nullopt;
}

struct failure_case {
    const char* name;
    std::optional<std::string> open_choice;  // for an empty editor
    std::vector<shown_message> expected;
};

TEST_F(ProtocolTest, InputFailuresAndTheirMessages) {
    std::vector<failure_case> cases = {
        {"open dialog cancelled",
         std::nullopt,
         {{"could not get name of input file", "", message_icon::error, message_buttons::ok}}},
    };
    if (auto read_only = read_only_file()) {
        cases.push_back({"input file cannot be opened for reading and writing",
                         *read_only,
                         {{"could not open temp or edit content file", "", message_icon::error,
                           message_buttons::ok}}});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.messages.clear();
        ui_.open_choices = {c.open_choice};
        ui_.save_choices = {dir_.file("never.cry")};
        doc_.current_name = "doc.cry";
        doc_.current_path = "/somewhere/doc.cry";
        EXPECT_EQ(run(""), action_result::failed);
        ASSERT_EQ(ui_.messages.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(ui_.messages[i].text, c.expected[i].text);
            EXPECT_EQ(ui_.messages[i].caption, c.expected[i].caption);
            EXPECT_EQ(ui_.messages[i].icon, c.expected[i].icon);
        }
        EXPECT_TRUE(ui_.proposed_save_names.empty());
        EXPECT_EQ(doc_.current_name, "doc.cry");
        EXPECT_EQ(doc_.current_path, "/somewhere/doc.cry");
        EXPECT_FALSE(std::filesystem::exists(dir_.file("never.cry")));
    }
}

TEST_F(ProtocolTest, CancelledSaveDialogLeavesNoResultAndNoCopy) {
    ui_.save_choices.push_back(std::nullopt);
    EXPECT_EQ(run(sample), action_result::cancelled);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

// Records whether the temporary copy still had a name once the input was open.
bool copy_named_while_open = true;

action_result probing_action(action_context& ctx) {
    action_input input;
    if (!open_action_input(ctx, input)) return action_result::failed;
    copy_named_while_open = input.is_temporary || std::filesystem::exists(input.path);
    return action_result::completed;
}

TEST_F(ProtocolTest, TheTemporaryCopyIsDeletedOnceItIsOpen) {
    // Read through the open file, the copy needs no name: a killed process leaves none.
    ui_.editor = sample;
    EXPECT_EQ(run_action(&probing_action, 0, 0, ui_, doc_), action_result::completed);
    EXPECT_FALSE(copy_named_while_open);
}

action_result failing_action(action_context& ctx) {
    action_input input;
    if (!open_action_input(ctx, input)) return action_result::failed;
    auto result = create_result_file(ctx);
    if (!result) return action_result::cancelled;
    write_line(*result, "written before the failure");
    throw action_abort("Too many iterations in routine jacobi");
}

TEST_F(ProtocolTest, AnAbortedActionEndsWithItsMessageAndCleansUp) {
    ui_.editor = sample;
    const std::string result = dir_.file("result.cry");
    ui_.save_choices.push_back(result);
    EXPECT_EQ(run_action(&failing_action, 0, 0, ui_, doc_), action_result::failed);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Too many iterations in routine jacobi");
    EXPECT_EQ(ui_.messages[0].caption, "Orvix");
    // The result file keeps what was written; the editor text is untouched.
    EXPECT_EQ(read_file(result), "written before the failure\r\n");
    EXPECT_EQ(ui_.editor, sample);
}

action_result unreadable_input_action(action_context&) {
    throw read_failure("/data/input.cry");
}

TEST_F(ProtocolTest, AReadErrorEndsTheActionWithTheInputPath) {
    EXPECT_EQ(run_action(&unreadable_input_action, 0, 0, ui_, doc_), action_result::failed);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "Could not read file!");
    EXPECT_EQ(ui_.messages[0].caption, "/data/input.cry");
    EXPECT_EQ(ui_.messages[0].icon, message_icon::error);
}

}  // namespace
}  // namespace orvix

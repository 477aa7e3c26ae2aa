// The action protocol: where the input comes from, the result file, every message, and the
// cleanup of the temporary copy on every exit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "actions/action_runner.h"
#include "actions/echo_action.h"
#include "actions/messages.h"
#include "commands/command_table.h"
#include "crystal/records.h"
#include "dipolar/parameters.h"
#include "generate/generate_actions.h"
#include "generate/symmetry_text.h"
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

// The dialogs propose the document's name, or within an action whose input was chosen that
// file's name; the document keeps its own name and path (an action's result is no document).
TEST_F(ProtocolTest, FileDialogsProposeNamesAndLeaveTheDocument) {
    const std::string input = dir_.file("input.cry");
    write_file(input, sample);
    doc_.current_name = "start.cry";
    doc_.current_path = "/documents/start.cry";
    ui_.save_choices = {dir_.file("first.cry"), dir_.file("second.cry")};
    ui_.open_choices = {input};
    EXPECT_EQ(run(sample), action_result::completed);
    EXPECT_EQ(run(""), action_result::completed);
    EXPECT_EQ(ui_.proposed_open_names, std::vector<std::string>{"start.cry"});
    EXPECT_EQ(ui_.proposed_save_names, (std::vector<std::string>{"start.cry", "input.cry"}));
    EXPECT_EQ(read_file(dir_.file("first.cry")), sample_result);
    EXPECT_EQ(read_file(dir_.file("second.cry")), sample_result);
    EXPECT_EQ(read_file(input), sample);
    EXPECT_EQ(doc_.current_name, "start.cry");
    EXPECT_EQ(doc_.current_path, "/documents/start.cry");
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

// Refused with its message before any result file is asked for.
TEST_F(ProtocolTest, InputThatCannotBeOpenedForReadingAndWriting) {
    const auto read_only = read_only_file();
    if (!read_only) GTEST_SKIP() << "no file here that even the superuser cannot write";
    ui_.open_choices = {*read_only};
    ui_.save_choices = {dir_.file("never.cry")};
    EXPECT_EQ(run(""), action_result::failed);
    EXPECT_EQ(ui_.message_texts(),
              std::vector<std::string>{"could not open temp or edit content file"});
    EXPECT_TRUE(ui_.proposed_save_names.empty());
    EXPECT_FALSE(std::filesystem::exists(dir_.file("never.cry")));
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

// What the desktop alone can do: Cancel in a parameter dialog, a question or the progress
// dialog ends the action; the result file keeps what was written before.
TEST_F(ProtocolTest, CancelInADialogKeepsWhatWasWritten) {
    const std::string positions = test::read_data("generate/positions_three.cry");
    // 6400 atoms in a block of n = 12: 6400 * 25^3 = 100,000,000 lines, one more with a cell
    // line; the question comes above 100,000,000.
    std::string atoms;
    for (int i = 0; i < 6400; ++i) atoms.append("C").append(std::to_string(i)).append(" 0 0 0\r\n");
    const auto block_of_12 = [](scripted_services& ui) {
        ui.on_generate_block = [](block_record& block) {
            block.n = 12;
            return dialog_result::ok;
        };
        ui.progress_cancel_at = 1;
    };
    const std::string question = "The result will have 100000001 lines. Do you want to go on?";
    const struct {
        const char* name;
        int command;
        std::string input;
        std::function<void(scripted_services&)> setup;
        std::optional<std::size_t> lines;  // in the result file
        std::string begins;                // the result's first bytes
        std::vector<std::string> messages = {};
    } cases[] = {
        {"operation 2 of 3 cancelled: the images of operation 1", cmd::generate_positions,
         test::read_data("generate/positions_input.cry"),
         [](scripted_services& ui) {
             ui.on_symmetry_operations = [calls = 0](symmetry_operation& op) mutable {
                 op.position_count = 3;  // the first dialog opens at the identity
                 return calls++ == 0 ? dialog_result::ok : dialog_result::cancel;
             };
         },
         4, positions.substr(0, positions.find("or ") + 46)},
        {"rotation dialog cancelled", cmd::euler_forwards, sample, {}, 0, ""},
        {"dipolar dialog cancelled", cmd::dipolar_moment, sample, {}, 0, ""},
        {"progress cancelled at step 10", cmd::dipolar_moment, sample,
         [](scripted_services& ui) {
             ui.on_dipolar = [](dipolar_parameters&) { return dialog_result::ok; };
             ui.progress_cancel_at = 10;
         },
         20, "/* note */\r\n0    "},  // the comment line before every angle
        {"exactly 100000000 lines: no question", cmd::generate_block, atoms, block_of_12,
         std::nullopt, "C0 "},
        {"one line more: the question, answered Cancel",
         cmd::generate_block,
         std::string("5 5 5 90 90 90\r\n").append(atoms),
         block_of_12,
         0,
         "",
         {question}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui_ = scripted_services{};
        if (c.setup) c.setup(ui_);
        ui_.save_choices.push_back(dir_.file("r.cry"));
        ui_.editor = c.input;
        EXPECT_EQ(test::run_command(c.command, ui_, doc_), action_result::cancelled);
        EXPECT_EQ(ui_.message_texts(), c.messages);
        const std::string written = read_file(dir_.file("r.cry"));
        if (c.lines) {
            EXPECT_EQ(static_cast<std::size_t>(std::count(written.begin(), written.end(), '\n')),
                      *c.lines);
        }
        EXPECT_EQ(written.substr(0, c.begins.size()), c.begins);
    }
}

}  // namespace
}  // namespace orvix

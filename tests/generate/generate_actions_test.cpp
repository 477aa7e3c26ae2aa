// Generate Positions and Generate Block through the scripted services: whole result files
// against golden files, the dialog flow, Cancel at every step, the question before a large
// result and Cancel in the progress dialog.
#include "generate/generate_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/messages.h"
#include "crystal/records.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_data;
using test::read_file;

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string join_lines(const std::vector<std::string>& lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += lines[i] + "\r\n";
    return text;
}

// One scripted answer of the Symmetry Operations dialog.
struct operation_answer {
    bool ok = true;
    std::int32_t position_count = 1;  // set in the first dialog only
    std::array<double, 3> factor = {1, 1, 1};
    std::array<double, 3> shift = {0, 0, 0};
    std::array<std::uint8_t, 3> source = {0, 1, 2};
};

const operation_answer identity_answer{};
const operation_answer screw_answer{true, 1, {-1, 1, -1}, {0, 0.5, 0.5}, {0, 1, 2}};
const operation_answer swap_answer{true, 1, {1, 1, 1}, {0, 0, 0}, {1, 0, 2}};
const operation_answer cancel_answer{false};

// Answers the dialogs in turn and keeps what each one showed when it opened.
struct operation_script {
    std::vector<operation_answer> answers;
    std::vector<symmetry_operation> shown;

    void install(scripted_services& ui) {
        ui.on_symmetry_operations = [this](symmetry_operation& record) {
            shown.push_back(record);
            const std::size_t index = shown.size() - 1;
            if (index >= answers.size() || !answers[index].ok) return dialog_result::cancel;
            const auto& a = answers[index];
            if (record.current_position == 1) record.position_count = a.position_count;
            record.factor = a.factor;
            record.shift = a.shift;
            record.source = a.source;
            return dialog_result::ok;
        };
    }
};

operation_answer with_count(operation_answer a, std::int32_t count) {
    a.position_count = count;
    return a;
}

struct positions_case {
    const char* name;
    const char* input;  // under tests/data
    std::vector<operation_answer> answers;
    const char* golden;        // under tests/data, or empty with expected_lines
    std::size_t prefix_lines;  // when non-zero: only this many lines of the golden file
    action_result result;
};

TEST(GeneratePositions, results_against_golden_files) {
    const std::vector<positions_case> cases = {
        {"two operations: identity, then -x, y+1/2, -z+1/2",
         "generate/positions_input.cry",
         {with_count(identity_answer, 2), screw_answer},
         "generate/positions_two.cry",
         0,
         action_result::completed},
        {"one operation swapping x and y",
         "generate/positions_input.cry",
         {swap_answer},
         "generate/positions_swap.cry",
         0,
         action_result::completed},
        {"three operations",
         "generate/positions_input.cry",
         {with_count(identity_answer, 3), screw_answer, swap_answer},
         "generate/positions_three.cry",
         0,
         action_result::completed},
        {"Cancel at operation 1 keeps the cell line only",
         "generate/positions_input.cry",
         {cancel_answer},
         "generate/positions_three.cry",
         1,
         action_result::cancelled},
        {"Cancel at operation 2 keeps the images of operation 1",
         "generate/positions_input.cry",
         {with_count(identity_answer, 3), cancel_answer},
         "generate/positions_three.cry",
         4,
         action_result::cancelled},
        {"Cancel at operation 3 keeps the images of operations 1 and 2",
         "generate/positions_input.cry",
         {with_count(identity_answer, 3), screw_answer, cancel_answer},
         "generate/positions_three.cry",
         7,
         action_result::cancelled},
        {"a count left at 0 applies the first operation only, without comments",
         "generate/positions_input.cry",
         {with_count(identity_answer, 0), screw_answer},
         "generate/positions_three.cry",
         4,
         action_result::completed},
        {"no cell line",
         "generate/no_cell_input.cry",
         {operation_answer{true, 1, {-1, -1, -1}, {0, 0, 0}, {0, 1, 2}}},
         "generate/positions_no_cell.cry",
         0,
         action_result::completed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        operation_script script{c.answers, {}};
        script.install(ui);
        const std::string out = dir.file("result.cry");
        EXPECT_EQ(test::run_on_text(cmd::generate_positions, ui, read_data(c.input), out),
                  c.result);
        std::string expected = read_data(c.golden);
        if (c.prefix_lines > 0) expected = join_lines(split_lines(expected), c.prefix_lines);
        EXPECT_EQ(read_file(out), expected);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(test::temporary_copies().empty());
    }
}

TEST(GeneratePositions, every_dialog_opens_at_the_identity_and_only_the_first_sets_the_count) {
    test::scratch_dir dir;
    scripted_services ui;
    operation_script script{{with_count(screw_answer, 3), swap_answer, screw_answer}, {}};
    script.install(ui);
    EXPECT_EQ(test::run_on_text(cmd::generate_positions, ui,
                                read_data("generate/positions_input.cry"), dir.file("result.cry")),
              action_result::completed);
    ASSERT_EQ(script.shown.size(), 3u);
    const symmetry_operation identity;
    for (std::size_t i = 0; i < script.shown.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const auto& shown = script.shown[i];
        EXPECT_EQ(shown.current_position, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(shown.position_count, i == 0 ? 1 : 3);
        EXPECT_EQ(shown.factor, identity.factor);
        EXPECT_EQ(shown.shift, identity.shift);
        EXPECT_EQ(shown.source, identity.source);
    }
    EXPECT_EQ(ui.dialogs_shown, (std::vector<std::string>(3, "Symmetry Operations")));
}

TEST(GeneratePositions, an_origin_line_is_transformed_like_an_atom) {
    test::scratch_dir dir;
    scripted_services ui;
    operation_script script{{operation_answer{true, 1, {-1, 2, 1}, {0.5, 0, 0.25}, {2, 0, 1}}}, {}};
    script.install(ui);
    const std::string out = dir.file("result.cry");
    test::run_on_text(cmd::generate_positions, ui, crlf("OR 0.1 0.2 0.3\n"), out);
    EXPECT_EQ(read_file(out), crlf("OR         0.200000     0.200000     0.450000\n"));
}

TEST(GeneratePositions, a_large_result_needs_the_users_word) {
    // 100,000,001 operations over one atom: the question comes after the first dialog, and
    // Cancel leaves the result empty, the cell line included (as Generate Block does).
    test::scratch_dir dir;
    scripted_services ui;
    operation_script script{{with_count(identity_answer, 100000001)}, {}};
    script.install(ui);
    ui.answers.push_back(answer::cancel);
    const std::string out = dir.file("result.cry");
    EXPECT_EQ(test::run_on_text(cmd::generate_positions, ui,
                                crlf("5 5 5 90 90 90\nC1 0.1 0.2 0.3\n"), out),
              action_result::cancelled);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The result will have 100000002 lines. Do you want to go on?");
    EXPECT_EQ(ui.messages[0].caption, "Orvix");
    EXPECT_EQ(ui.messages[0].icon, message_icon::question);
    EXPECT_EQ(ui.messages[0].buttons, message_buttons::ok_cancel);
    EXPECT_EQ(read_file(out), "");
    EXPECT_EQ(script.shown.size(), 1u);
}

TEST(GeneratePositions, cancel_in_the_progress_dialog_keeps_what_was_written) {
    std::string input = crlf("5 5 5 90 90 90\n");
    for (int i = 0; i < 5000; ++i)
        input += crlf(std::string("C").append(std::to_string(i)) + " 0.5 0.5 0.5\n");
    test::scratch_dir dir;
    scripted_services ui;
    operation_script script{{with_count(identity_answer, 2), identity_answer}, {}};
    script.install(ui);
    ui.progress_cancel_at = 1;
    const std::string out = dir.file("result.cry");
    EXPECT_EQ(test::run_on_text(cmd::generate_positions, ui, input, out), action_result::cancelled);
    const auto lines = split_lines(read_file(out));
    EXPECT_EQ(lines.size(), 1u + 4096u);
    EXPECT_EQ(lines.back(), "C4095      0.500000     0.500000     0.500000");
    EXPECT_EQ(script.shown.size(), 1u) << "no further dialog after a Cancel";
}

struct block_case {
    const char* name;
    const char* input;
    std::int32_t n;
    const char* golden;
};

TEST(GenerateBlock, results_against_golden_files) {
    const std::vector<block_case> cases = {
        {"n = 1: the atoms and 26 translated copies", "generate/block_input.cry", 1,
         "generate/block_n1.cry"},
        {"n = 0: the atoms unchanged", "generate/block_input.cry", 0, "generate/block_n0.cry"},
        {"negative n: the atoms unchanged", "generate/block_input.cry", -1,
         "generate/block_n0.cry"},
        {"most negative n", "generate/block_input.cry", INT32_MIN, "generate/block_n0.cry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        std::vector<std::int32_t> shown;
        ui.on_generate_block = [&](block_record& block) {
            shown.push_back(block.n);
            block.n = c.n;
            return dialog_result::ok;
        };
        const std::string out = dir.file("result.cry");
        EXPECT_EQ(test::run_on_text(cmd::generate_block, ui, read_data(c.input), out),
                  action_result::completed);
        EXPECT_EQ(read_file(out), read_data(c.golden));
        EXPECT_EQ(shown, std::vector<std::int32_t>{1}) << "the dialog opens with n = 1";
        EXPECT_EQ(ui.dialogs_shown, std::vector<std::string>{"Generate Block"});
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(test::temporary_copies().empty());
    }
}

TEST(GenerateBlock, copies_come_in_the_stated_order) {
    // For n = 1: (x-1, y-1, z-1), (x, y-1, z-1), (x+1, y-1, z-1), (x-1, y, z-1), ... up to
    // (x+1, y+1, z+1), skipping (x, y, z); each copy holds the whole atom list.
    test::scratch_dir dir;
    scripted_services ui;
    ui.on_generate_block = [](block_record& block) {
        block.n = 1;
        return dialog_result::ok;
    };
    const std::string out = dir.file("result.cry");
    test::run_on_text(cmd::generate_block, ui, crlf("A 0 0 0\nB 0.25 0.5 0.75\n"), out);
    const auto lines = split_lines(read_file(out));
    ASSERT_EQ(lines.size(), 54u);
    std::size_t at = 2;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
            for (int k = -1; k <= 1; ++k) {
                if (i == 0 && j == 0 && k == 0) continue;
                SCOPED_TRACE(at);
                EXPECT_EQ(lines[at++],
                          format_atom_line("A", static_cast<float>(k), static_cast<float>(j),
                                           static_cast<float>(i)));
                EXPECT_EQ(lines[at++], format_atom_line("B", 0.25f + static_cast<float>(k),
                                                        0.5f + static_cast<float>(j),
                                                        0.75f + static_cast<float>(i)));
            }
    // An atom at x = 0.25 comes out at -0.75, 0.25 and 1.25, nine times each.
    for (const char* x : {"    -0.750000", "     0.250000", "     1.250000"}) {
        int count = 0;
        for (const auto& line : lines)
            if (line.rfind("B     ", 0) == 0 && line.substr(6, 13) == x) ++count;
        EXPECT_EQ(count, 9) << x;
    }
}

TEST(GenerateBlock, cancel_leaves_an_empty_result_file) {
    test::scratch_dir dir;
    scripted_services ui;  // no handler: the dialog answers Cancel
    const std::string out = dir.file("result.cry");
    EXPECT_EQ(
        test::run_on_text(cmd::generate_block, ui, read_data("generate/block_input.cry"), out),
        action_result::cancelled);
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_EQ(read_file(out), "");
    EXPECT_TRUE(test::temporary_copies().empty());
}

TEST(GenerateBlock, the_question_comes_only_above_100_million_lines) {
    // 6400 atoms and n = 12 make exactly 6400 * 25^3 = 100,000,000 atom lines: no question
    // without a cell line, the question with one. Cancel in the progress dialog ends
    // either run after its first 4096 lines.
    std::string atoms;
    for (int i = 0; i < 6400; ++i)
        atoms += crlf(std::string("C").append(std::to_string(i)) + " 0.1 0.2 0.3\n");
    struct question_case {
        const char* name;
        std::string input;
        std::vector<answer> answers;
        bool asked;
        std::size_t lines;  // in the result
    };
    const std::vector<question_case> cases = {
        {"exactly 100,000,000 lines: no question", atoms, {}, false, 4096},
        {"one line more, answered OK",
         crlf("5 5 5 90 90 90\n") + atoms,
         {answer::ok},
         true,
         1 + 4096},
        {"one line more, answered Cancel",
         crlf("5 5 5 90 90 90\n") + atoms,
         {answer::cancel},
         true,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        scripted_services ui;
        ui.on_generate_block = [](block_record& block) {
            block.n = 12;
            return dialog_result::ok;
        };
        ui.answers.assign(c.answers.begin(), c.answers.end());
        ui.progress_cancel_at = 1;
        const std::string out = dir.file("result.cry");
        EXPECT_EQ(test::run_on_text(cmd::generate_block, ui, c.input, out),
                  action_result::cancelled);
        if (c.asked) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text,
                      "The result will have 100000001 lines. Do you want to go on?");
            EXPECT_EQ(ui.messages[0].caption, msg::program_name);
            EXPECT_EQ(ui.messages[0].icon, message_icon::question);
            EXPECT_EQ(ui.messages[0].buttons, message_buttons::ok_cancel);
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
        const std::string text = read_file(out);
        EXPECT_EQ(split_lines(text).size(), c.lines);
        EXPECT_TRUE(text.empty() || text.ends_with("\r\n"));
    }
}

TEST(GenerateBlock, the_largest_n_is_asked_about_with_its_exact_count) {
    test::scratch_dir dir;
    scripted_services ui;
    ui.on_generate_block = [](block_record& block) {
        block.n = INT32_MAX;
        return dialog_result::ok;
    };
    const std::string out = dir.file("result.cry");
    EXPECT_EQ(test::run_on_text(cmd::generate_block, ui, crlf("C1 0 0 0\n"), out),
              action_result::cancelled);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The result will have 79228162458924105385300197375 lines. Do you want to go on?");
    EXPECT_EQ(read_file(out), "");
}

TEST(GenerateMessages, the_question_begins_with_the_prefix_orvix_cli_looks_for) {
    EXPECT_EQ(large_result_question(123456789).rfind(msg::large_result_prefix, 0), 0u);
}

}  // namespace
}  // namespace orvix

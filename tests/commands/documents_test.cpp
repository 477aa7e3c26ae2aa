// The document commands and the dispatcher, run through the scripted services and a window
// that records what it was asked to do.
#include "commands/documents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "actions/echo_action.h"
#include "actions/messages.h"
#include "commands/command_table.h"
#include "structure/import.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::read_data;
using test::read_file;
using test::scratch_dir;
using test::write_file;

// A window that keeps its editor text in the scripted services, as the real editor keeps it
// in itself, and records the rest.
struct recording_window : shell_window {
    explicit recording_window(scripted_services& ui) : ui(ui) {}
    void set_editor_text(const std::string& bytes) override {
        ui.editor = bytes;
        ++text_replacements;
    }
    void set_caption(const std::string& name) override { caption = caption_text(name); }
    void edit(int command) override { edits.push_back(command); }
    void show_about() override { ++about_boxes; }
    void request_close() override { ++close_requests; }

    scripted_services& ui;
    std::string caption = caption_text("");
    std::vector<int> edits;
    int text_replacements = 0;
    int about_boxes = 0;
    int close_requests = 0;
};

struct fixture {
    scripted_services ui;
    recording_window window{ui};
    document_state doc;
    shell sh{ui, window, doc};
};

TEST(CaptionText, FormsProgramNameAndCurrentName) {
    const std::string long_name(600, 'n');
    struct case_t {
        const char* name;
        std::string current;
        std::string expected;
    } cases[] = {
        {"unnamed document", "", "Orvix - (untitled)"},
        {"named document", "quartz.cry", "Orvix - quartz.cry"},
        {"name cut at 511 characters", long_name, "Orvix - " + std::string(511, 'n')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(caption_text(c.current), c.expected);
    }
}

// What the save question leads to, for each way of answering it, seen from New, Open and
// closing the window alike.
enum class save_path { none, to_current_path, through_dialog };
struct question_case {
    const char* name;
    bool modified;
    bool named;                          // the document has a current path
    std::vector<answer> answers;         // to the save question
    std::optional<std::string> save_as;  // file name chosen in the Save as dialog, if asked
    std::string editor_text;             // the changed text
    bool unwritable = false;             // the current path cannot be created
    bool goes_ahead;                     // the pending command continues
    std::vector<std::string> messages;   // texts shown, in order
};

std::vector<question_case> question_cases() {
    const std::string question = "Save current changes in a.cry?";
    return {
        {"unchanged text asks nothing", false, true, {}, std::nullopt, "x\r\n", false, true, {}},
        {"Cancel stops",
         true,
         true,
         {answer::cancel},
         std::nullopt,
         "x\r\n",
         false,
         false,
         {question}},
        {"No goes ahead unsaved",
         true,
         true,
         {answer::no},
         std::nullopt,
         "x\r\n",
         false,
         true,
         {question}},
        {"Yes saves to the current path",
         true,
         true,
         {answer::yes},
         std::nullopt,
         "x\r\n",
         false,
         true,
         {question}},
        {"Yes on an unnamed text asks for a name",
         true,
         false,
         {answer::yes},
         "b.cry",
         "x\r\n",
         false,
         true,
         {"Save current changes in ?"}},
        {"Yes with a cancelled Save as dialog stops",
         true,
         false,
         {answer::yes},
         std::nullopt,
         "x\r\n",
         false,
         false,
         {"Save current changes in ?"}},
        {"Yes with a file that cannot be created stops",
         true,
         true,
         {answer::yes},
         std::nullopt,
         "x\r\n",
         true,
         false,
         {question, std::string(msg::error_creating_file)}},
        {"Yes with an empty text stops",
         true,
         true,
         {answer::yes},
         std::nullopt,
         "",
         false,
         false,
         {question, std::string(msg::text_length_zero)}},
    };
}

// Prepares a fixture for one question case; returns where a save would go.
std::string prepare(fixture& f, const question_case& c, const scratch_dir& dir) {
    f.ui.editor = c.editor_text;
    f.doc.modified = c.modified;
    std::string target;
    if (c.named) {
        f.doc.current_name = "a.cry";
        f.doc.current_path = c.unwritable ? dir.file("missing/a.cry") : dir.file("a.cry");
        target = f.doc.current_path;
    }
    for (answer a : c.answers) f.ui.answers.push_back(a);
    if (!c.named) {
        if (c.save_as) {
            target = dir.file(*c.save_as);
            f.ui.save_choices.push_back(target);
        } else {
            f.ui.save_choices.push_back(std::nullopt);
        }
    }
    return target;
}

void expect_saved_as_asked(const fixture& f, const question_case& c, const std::string& target) {
    const bool saved = c.goes_ahead && !c.answers.empty() && c.answers.front() == answer::yes;
    if (saved) {
        EXPECT_EQ(read_file(target), c.editor_text);
    } else if (!c.unwritable && !target.empty() && c.editor_text.empty()) {
        // A failed save of an empty text leaves the file, now empty.
        EXPECT_TRUE(std::filesystem::exists(target));
        EXPECT_EQ(read_file(target), "");
    } else if (!target.empty()) {
        EXPECT_FALSE(std::filesystem::exists(target));
    }
    EXPECT_EQ(f.ui.message_texts(), c.messages);
    if (!c.messages.empty()) {
        EXPECT_EQ(f.ui.messages.front().caption, "Orvix");
        EXPECT_EQ(f.ui.messages.front().icon, message_icon::question);
        EXPECT_EQ(f.ui.messages.front().buttons, message_buttons::yes_no_cancel);
    }
}

TEST(SaveQuestion, NewFollowsTheAnswer) {
    for (const auto& c : question_cases()) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        const std::string target = prepare(f, c, dir);
        dispatch_command(f.sh, cmd::file_new);
        expect_saved_as_asked(f, c, target);
        if (c.goes_ahead) {
            EXPECT_EQ(f.ui.editor, "");
            EXPECT_EQ(f.doc.current_name, "");
            EXPECT_EQ(f.doc.current_path, "");
            EXPECT_EQ(f.window.caption, "Orvix - (untitled)");
            EXPECT_FALSE(f.doc.modified);
        } else {
            EXPECT_EQ(f.ui.editor, c.editor_text);
            EXPECT_TRUE(f.doc.modified);
            EXPECT_EQ(f.window.text_replacements, 0);
        }
    }
}

TEST(SaveQuestion, OpenFollowsTheAnswer) {
    for (const auto& c : question_cases()) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        const std::string target = prepare(f, c, dir);
        const std::string other = dir.file("other.cry");
        write_file(other, crlf("Si1 0 0 0\n"));
        f.ui.open_choices.push_back(other);
        dispatch_command(f.sh, cmd::file_open);
        expect_saved_as_asked(f, c, target);
        if (c.goes_ahead) {
            EXPECT_EQ(f.ui.editor, crlf("Si1 0 0 0\n"));
            EXPECT_EQ(f.doc.current_name, "other.cry");
            EXPECT_EQ(f.doc.current_path, other);
            EXPECT_EQ(f.window.caption, "Orvix - other.cry");
            EXPECT_FALSE(f.doc.modified);
        } else {
            EXPECT_EQ(f.ui.editor, c.editor_text);
            EXPECT_TRUE(f.doc.modified);
            EXPECT_EQ(f.ui.open_choices.size(), 1u) << "the open dialog was shown";
        }
    }
}

TEST(SaveQuestion, CloseFollowsTheAnswer) {
    for (const auto& c : question_cases()) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        const std::string target = prepare(f, c, dir);
        EXPECT_EQ(may_close(f.sh), c.goes_ahead);
        expect_saved_as_asked(f, c, target);
        EXPECT_EQ(f.ui.editor, c.editor_text);
    }
}

TEST(SaveQuestion, CancelLeavesNamesUntouched) {
    fixture f;
    f.ui.editor = "x";
    f.doc = {"/somewhere/a.cry", "a.cry", true, {}};
    f.ui.answers.push_back(answer::cancel);
    EXPECT_EQ(ask_save_changes(f.sh), answer::cancel);
    EXPECT_EQ(f.doc.current_path, "/somewhere/a.cry");
    EXPECT_EQ(f.doc.current_name, "a.cry");
    EXPECT_TRUE(f.doc.modified);
}

// Opening files of various sizes and kinds: what the editor, names and messages end up as.
TEST(Open, SizesAndFailures) {
    struct case_t {
        const char* name;
        std::optional<std::size_t> size;  // a file of this many bytes; none: file missing
        bool chosen;                      // false: the dialog is cancelled
        bool opens;
        std::vector<std::pair<std::string, std::string>> messages;  // text, caption ("path")
    } cases[] = {
        {"31999 bytes open", 31999, true, true, {}},
        {"an empty file opens", 0, true, true, {}},
        {"32000 bytes are refused with two messages",
         32000,
         true,
         false,
         {{"Edit control out of space!", "path"}, {"Could not read file!", "name"}}},
        {"a much larger file is refused",
         100000,
         true,
         false,
         {{"Edit control out of space!", "path"}, {"Could not read file!", "name"}}},
        {"a missing file cannot be read",
         std::nullopt,
         true,
         false,
         {{"Could not read file!", "name"}}},
        {"a cancelled dialog changes nothing", 10, false, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        f.ui.editor = "changed text";
        f.doc = {dir.file("old.cry"), "old.cry", true, {}};
        f.window.set_caption("old.cry");
        f.ui.answers.push_back(answer::no);
        const std::string path = dir.file("big.cry");
        std::string content;
        if (c.size) {
            for (std::size_t i = 0; i < *c.size; ++i)
                content.push_back(i % 40 == 39 ? '\n' : static_cast<char>('a' + i % 26));
            write_file(path, content);
        }
        if (c.chosen)
            f.ui.open_choices.push_back(path);
        else
            f.ui.open_choices.push_back(std::nullopt);

        dispatch_command(f.sh, cmd::file_open);

        ASSERT_EQ(f.ui.messages.size(), c.messages.size() + 1);
        EXPECT_EQ(f.ui.messages[0].text, "Save current changes in old.cry?");
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(f.ui.messages[i + 1].text, c.messages[i].first);
            EXPECT_EQ(f.ui.messages[i + 1].caption,
                      c.messages[i].second == "path" ? path : std::string("big.cry"));
            EXPECT_EQ(f.ui.messages[i + 1].icon, message_icon::error);
        }
        EXPECT_EQ(f.ui.proposed_open_names, std::vector<std::string>{"old.cry"});
        if (c.opens) {
            EXPECT_EQ(f.ui.editor, content);
            EXPECT_EQ(f.window.caption, "Orvix - big.cry");
            EXPECT_EQ(f.doc.current_path, path);
            EXPECT_FALSE(f.doc.modified);
        } else {
            EXPECT_EQ(f.ui.editor, "changed text");
            EXPECT_EQ(f.window.caption, "Orvix - old.cry");
            // The changed text is still there, so the flag keeps guarding it.
            EXPECT_TRUE(f.doc.modified);
            if (c.chosen) {
                EXPECT_EQ(f.doc.current_name, "");
                EXPECT_EQ(f.doc.current_path, "");
            } else {
                EXPECT_EQ(f.doc.current_name, "old.cry");
            }
        }
    }
}

// Regression: after "No" and a cancelled Open, Exit used to close without asking because
// Open had cleared the modified flag although the changed text stayed in the editor.
TEST(Open, CancelledOpenStillAsksOnExit) {
    fixture f;
    f.ui.editor = "changed";
    f.doc.modified = true;
    f.ui.answers = {answer::no, answer::cancel};
    f.ui.open_choices.push_back(std::nullopt);
    dispatch_command(f.sh, cmd::file_open);
    EXPECT_FALSE(may_close(f.sh));
    EXPECT_EQ(f.ui.message_texts(),
              (std::vector<std::string>{"Save current changes in ?", "Save current changes in ?"}));
}

TEST(Open, BytesArriveUnchangedUpToAZeroByte) {
    struct case_t {
        const char* name;
        std::string file;
        std::string editor;
    } cases[] = {
        {"Latin-1 bytes and CR LF kept", "\xe9t\xe9\r\n\xa0\xff\r\n", "\xe9t\xe9\r\n\xa0\xff\r\n"},
        {"bare LF kept", "a\nb", "a\nb"},
        {"a zero byte ends the text", std::string("ab\0cd", 5), "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        write_file(dir.file("f.cry"), c.file);
        EXPECT_TRUE(read_file_into_editor(f.sh, dir.file("f.cry")));
        EXPECT_EQ(f.ui.editor, c.editor);
    }
}

TEST(Open, FileHeldOpenElsewhereIsNotRead) {
    scratch_dir dir;
    fixture f;
    write_file(dir.file("held.cry"), "x");
    auto held = exclusive_file::open_existing(dir.file("held.cry"), exclusive_file::access::read);
    ASSERT_TRUE(held);
    EXPECT_FALSE(read_file_into_editor(f.sh, dir.file("held.cry")));
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(Save, EmptyTextLeavesAnEmptyFile) {
    scratch_dir dir;
    fixture f;
    write_file(dir.file("a.cry"), "old contents");
    f.doc = {dir.file("a.cry"), "a.cry", true, {}};
    f.ui.editor = "";
    dispatch_command(f.sh, cmd::file_save);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "text length is zero");
    EXPECT_EQ(f.ui.messages[0].caption, "");
    EXPECT_EQ(f.ui.messages[0].icon, message_icon::error);
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.cry")));
    EXPECT_EQ(read_file(dir.file("a.cry")), "");
    EXPECT_TRUE(f.doc.modified);
}

TEST(SaveAs, CancelledKeepsCaptionAndText) {
    fixture f;
    f.ui.editor = "x\r\n";
    f.doc = {"/somewhere/a.cry", "a.cry", true, {}};
    f.window.set_caption("a.cry");
    f.ui.save_choices.push_back(std::nullopt);
    dispatch_command(f.sh, cmd::file_save_as);
    EXPECT_EQ(f.window.caption, "Orvix - a.cry");
    EXPECT_TRUE(f.doc.modified);
    EXPECT_EQ(f.ui.proposed_save_names, std::vector<std::string>{"a.cry"});
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(SaveAs, WritesTheTextAndRenamesTheDocument) {
    scratch_dir dir;
    fixture f;
    f.ui.editor = crlf("Si1 0.1 0.2 0.3\n");
    f.doc.modified = true;
    f.ui.save_choices.push_back(dir.file("new.cry"));
    dispatch_command(f.sh, cmd::file_save_as);
    EXPECT_EQ(read_file(dir.file("new.cry")), crlf("Si1 0.1 0.2 0.3\n"));
    EXPECT_EQ(f.window.caption, "Orvix - new.cry");
    EXPECT_EQ(f.doc.current_path, dir.file("new.cry"));
    EXPECT_FALSE(f.doc.modified);
    EXPECT_EQ(f.doc.file_dialog.default_extension, "cry");
    ASSERT_EQ(f.doc.file_dialog.filters.size(), 4u);
    EXPECT_EQ(f.doc.file_dialog.filters[1].first, "Alchemy Mol   (*.MOL)");
}

TEST(SaveAs, FailedWriteKeepsTheNewCaptionAndTheFlag) {
    scratch_dir dir;
    fixture f;
    f.ui.editor = "x";
    f.doc.modified = true;
    f.ui.save_choices.push_back(dir.file("missing/new.cry"));
    dispatch_command(f.sh, cmd::file_save_as);
    EXPECT_EQ(f.window.caption, "Orvix - new.cry");
    EXPECT_TRUE(f.doc.modified);
    EXPECT_EQ(f.ui.message_texts(), std::vector<std::string>{"Error creating file!"});
    EXPECT_EQ(f.ui.messages[0].caption, dir.file("missing/new.cry"));
}

TEST(EditorNotifications, ChangeSetsTheFlagAndFullnessIsReported) {
    fixture f;
    editor_notification(f.sh, editor_event::changed);
    EXPECT_TRUE(f.doc.modified);
    EXPECT_TRUE(f.ui.messages.empty());
    editor_notification(f.sh, editor_event::out_of_space);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Edit control out of space!");
    EXPECT_EQ(f.ui.messages[0].caption, "Orvix");
    EXPECT_EQ(f.ui.messages[0].icon, message_icon::error);
}

TEST(Dispatch, WindowCommandsReachTheWindow) {
    struct case_t {
        int command;
        std::vector<int> edits;
        int about;
        int closes;
        std::vector<std::string> help;
    } cases[] = {
        {cmd::edit_undo, {cmd::edit_undo}, 0, 0, {}},
        {cmd::edit_cut, {cmd::edit_cut}, 0, 0, {}},
        {cmd::edit_copy, {cmd::edit_copy}, 0, 0, {}},
        {cmd::edit_paste, {cmd::edit_paste}, 0, 0, {}},
        {cmd::edit_delete, {cmd::edit_delete}, 0, 0, {}},
        {cmd::edit_select_all, {cmd::edit_select_all}, 0, 0, {}},
        {cmd::file_exit, {}, 0, 1, {}},
        {cmd::help_contents, {}, 0, 0, {"HLP_CONTENTS"}},
        {cmd::help_about, {}, 1, 0, {}},
        {cmd::make_oblique, {}, 0, 0, {}},
        {999, {}, 0, 0, {}},
        {0, {}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        fixture f;
        f.doc.modified = true;
        dispatch_command(f.sh, c.command);
        EXPECT_EQ(f.window.edits, c.edits);
        EXPECT_EQ(f.window.about_boxes, c.about);
        EXPECT_EQ(f.window.close_requests, c.closes);
        EXPECT_EQ(f.ui.help_topics, c.help);
        // None of them asks anything or touches the document.
        EXPECT_TRUE(f.ui.messages.empty());
        EXPECT_TRUE(f.doc.modified);
        EXPECT_EQ(f.window.text_replacements, 0);
    }
}

TEST(Dispatch, ActionCommandsRunTheirAction) {
    // Every command with a row in the action table runs it: each one asks for its result
    // file or its parameters, which the scripted user cancels.
    for (const command_row& row : command_table()) {
        if (row.run == nullptr || row.menu.empty()) continue;
        SCOPED_TRACE(row.number);
        fixture f;
        f.ui.editor = crlf("Si1 0.1 0.2 0.3\n");
        dispatch_command(f.sh, row.number);
        const bool asked = !f.ui.proposed_open_names.empty() || !f.ui.proposed_save_names.empty() ||
                           !f.ui.dialogs_shown.empty() || !f.ui.messages.empty();
        EXPECT_TRUE(asked);
        EXPECT_FALSE(f.doc.modified);
        EXPECT_EQ(f.ui.editor, crlf("Si1 0.1 0.2 0.3\n")) << "actions never change the text";
    }
}

TEST(Dispatch, SavingAfterAnActionNeverWritesOverItsResult) {
    // An action's result file is no document: the save question still names the document,
    // and Yes saves the text where the document lives (or asks, for an unnamed one).
    const struct {
        const char* name;
        bool named;
        const char* question;
        const char* saved_to;
    } cases[] = {
        {"named document", true, "Save current changes in in.cry?", "in.cry"},
        {"unnamed document", false, "Save current changes in ?", "chosen.cry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        f.ui.editor = crlf("Si1 0.1 0.2 0.3\n");
        if (c.named) f.doc = {dir.file("in.cry"), "in.cry", false, {}};
        f.ui.save_choices.push_back(dir.file("result.txt"));
        dispatch_command(f.sh, cmd::echo_atoms);
        const std::string result = read_file(dir.file("result.txt"));
        ASSERT_FALSE(result.empty());
        EXPECT_EQ(f.window.caption, "Orvix - (untitled)") << "actions leave the caption alone";

        f.ui.editor = "changed\r\n";
        editor_notification(f.sh, editor_event::changed);
        f.ui.answers.push_back(answer::yes);
        if (!c.named) f.ui.save_choices.push_back(dir.file("chosen.cry"));
        dispatch_command(f.sh, cmd::file_new);
        EXPECT_EQ(f.ui.message_texts(), std::vector<std::string>{c.question});
        EXPECT_EQ(read_file(dir.file(c.saved_to)), "changed\r\n");
        EXPECT_EQ(read_file(dir.file("result.txt")), result);
    }
}

// Import Structure: the save question first, then the import dialog; the text becomes a new
// untitled document, and anything refused leaves the editor and the document as they were.
TEST(Import, NewUntitledDocumentOrNothingChanged) {
    scratch_dir dir;
    const std::string nacl = dir.file("nacl.cif");
    write_file(nacl, read_data("structure/nacl_hm.cif"));
    const std::string partial = dir.file("partial.cif");
    write_file(partial, read_data("structure/partial.cif"));
    std::string unknown_group = read_data("structure/nacl_hm.cif");
    unknown_group.replace(unknown_group.find("F m -3 m"), 8, "F m 3 q");
    const std::string bad = dir.file("bad.cif");
    write_file(bad, unknown_group);
    // 700 atoms in P1: 700 lines of 47 bytes do not fit into 32000 characters.
    std::string many =
        "data_big\n_cell_length_a 50\n_cell_length_b 50\n_cell_length_c 50\n"
        "_cell_angle_alpha 90\n_cell_angle_beta 90\n_cell_angle_gamma 90\n"
        "_symmetry_space_group_name_H-M 'P 1'\nloop_\n_atom_site_label\n"
        "_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n";
    for (int i = 0; i < 700; ++i) {
        many += 'C';
        many += std::to_string(i);
        many += " 0.1 0.2 0.3\n";
    }
    const std::string big = dir.file("big.cif");
    write_file(big, many);

    const struct {
        const char* name;
        bool modified;
        std::vector<answer> answers;  // to the save question
        std::optional<std::string> chosen;
        bool imports;
        std::vector<std::string> messages;  // after the save question
        std::string caption;                // of the last message
        message_icon icon;
    } cases[] = {
        {"imported", false, {}, nacl, true, {}, "", message_icon::none},
        {"changed text: No to the question, then imported",
         true,
         {answer::no},
         nacl,
         true,
         {},
         "",
         message_icon::none},
        {"Cancel to the question: no dialog",
         true,
         {answer::cancel},
         std::nullopt,
         false,
         {},
         "",
         message_icon::none},
        {"dialog cancelled", false, {}, std::nullopt, false, {}, "", message_icon::none},
        {"file that cannot be read",
         false,
         {},
         dir.file("missing.cif"),
         false,
         {std::string(msg::could_not_read_file)},
         "missing.cif",
         message_icon::error},
        {"refused structure",
         false,
         {},
         bad,
         false,
         {"bad.cif:8: unknown space group 'F m 3 q'"},
         "Orvix",
         message_icon::error},
        {"partial occupancy: imported with a warning",
         false,
         {},
         partial,
         true,
         {"partial.cif: 2 of the 3 sites are partly occupied; every site is kept"},
         "Orvix",
         message_icon::warning},
        {"too large for the editor",
         false,
         {},
         big,
         false,
         {"out of space"},
         big,
         message_icon::error},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fixture f;
        f.ui.editor = "old text";
        f.doc = {"/somewhere/a.cry", "a.cry", c.modified, {}};
        f.window.set_caption("a.cry");
        for (answer a : c.answers) f.ui.answers.push_back(a);
        f.ui.open_choices.push_back(c.chosen);
        const std::string before = c.chosen ? read_file(*c.chosen) : "";

        dispatch_command(f.sh, cmd::file_import);

        std::vector<std::string> shown = f.ui.message_texts();
        if (c.modified) {
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown.front(), "Save current changes in a.cry?");
            shown.erase(shown.begin());
        }
        if (!c.messages.empty() && c.messages[0] == "out of space") {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].rfind("Edit control out of space!", 0), 0u) << shown[0];
            EXPECT_NE(shown[0].find("(700 atoms)"), std::string::npos) << shown[0];
        } else {
            EXPECT_EQ(shown, c.messages);
        }
        if (!c.messages.empty()) {
            EXPECT_EQ(f.ui.messages.back().caption, c.caption);
            EXPECT_EQ(f.ui.messages.back().icon, c.icon);
        }
        const bool dialog_shown = c.answers.empty() || c.answers.front() != answer::cancel;
        EXPECT_EQ(f.ui.proposed_open_names,
                  dialog_shown ? std::vector<std::string>{""} : std::vector<std::string>{});
        if (c.imports) {
            const std::string name = std::filesystem::path(*c.chosen).filename().string();
            EXPECT_EQ(f.ui.editor, import_structure(before, name, {}).text);
            EXPECT_EQ(f.doc.current_path, "");
            EXPECT_EQ(f.doc.current_name, "");
            EXPECT_EQ(f.window.caption, "Orvix - (untitled)");
            EXPECT_TRUE(f.doc.modified) << "the imported text is saved nowhere yet";
        } else {
            EXPECT_EQ(f.ui.editor, "old text");
            EXPECT_EQ(f.window.text_replacements, 0);
            EXPECT_EQ(f.doc.current_path, "/somewhere/a.cry");
            EXPECT_EQ(f.doc.current_name, "a.cry");
            EXPECT_EQ(f.window.caption, "Orvix - a.cry");
            EXPECT_EQ(f.doc.modified, c.modified);
        }
        if (c.chosen && std::filesystem::exists(*c.chosen)) {
            EXPECT_EQ(read_file(*c.chosen), before) << "the imported file is never written";
        }
    }
}

}  // namespace
}  // namespace orvix

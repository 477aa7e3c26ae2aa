// The document commands and the dispatcher, run through the scripted services and a window
// that records what it was asked to do.
#include "commands/documents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace orvix {
namespace {

using test::read_file;
using test::scratch_dir;
using test::write_file;

// A window that keeps its editor text in the scripted services, as the real editor keeps it
// in itself, and records the rest.
struct recording_window : shell_window {
    explicit recording_window(scripted_services& ui) : ui(ui) {}
    void set_editor_text(const std::string& bytes) override { ui.editor = bytes; }
    void set_caption(const std::string& name) override { caption = caption_text(name); }
    void edit(int command) override { edits.push_back(command); }
    void show_about() override { ++about_boxes; }
    void request_close() override { ++close_requests; }

    scripted_services& ui;
    std::string caption;
    std::vector<int> edits;
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
    EXPECT_EQ(caption_text(""), "Orvix - (untitled)");
    EXPECT_EQ(caption_text("quartz.cry"), "Orvix - quartz.cry");
    EXPECT_EQ(caption_text(std::string(600, 'n')), "Orvix - " + std::string(511, 'n'));
}

const std::string hex_cif =
    "data_hex\n_cell_length_a 3\n_cell_length_b 3\n_cell_length_c 5\n_cell_angle_alpha 90\n"
    "_cell_angle_beta 90\n_cell_angle_gamma 120\n_space_group_name_H-M_alt 'P 1'\nloop_\n"
    "_atom_site_label\n_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n"
    "X1 1 0 0\n";
const std::string hex_text =
    "3.000000 3.000000 5.000000 90.000000 90.000000 120.000000\r\n"
    "/* imported from hex.cif, block hex: space group P 1, 1 atom */\r\n"
    "X1         0.000000     0.000000     0.000000\r\n";
// 700 atoms in P1: 700 lines of 47 bytes do not fit into the editor's 32000 characters.
std::string big_cif() {
    std::string text = hex_cif.substr(0, hex_cif.size() - 9);
    for (int i = 0; i < 700; ++i) {
        text += 'C';
        text += std::to_string(i);
        text += " 0.1 0.2 0.3\n";
    }
    return text;
}

// One document command from a given state. Files are named relative to a scratch folder;
// a current name "missing/a.cry" is a path that cannot be created.
struct document_case {
    const char* name;
    int command;  // 0: the window asks whether it may close
    bool modified;
    std::string current;  // the document's name and path ("" unnamed)
    std::string editor;
    std::vector<answer> answers;        // to the save question
    std::optional<std::string> opened;  // chosen in the open dialog (none: cancelled)
    std::optional<std::string> saved;   // chosen in the save dialog (none: cancelled)
    std::string file_bytes;             // the bytes of the file chosen to open
    std::vector<std::string> messages;  // expected, each the beginning of a text shown
    std::string editor_after;
    std::string caption_after;  // the name in the caption
    bool modified_after;
    std::string written;  // the file that must now hold the editor text
    bool closes = false;
};

const std::string question = "Save current changes in a.cry?";
const std::string unnamed_question = "Save current changes in ?";
const std::string text = "x\r\n";
const std::string big_file(32000, 'a');

// clang-format off
const document_case document_cases[] = {
    {"New: unchanged asks nothing", cmd::file_new, false, "a.cry", text, {}, {}, {}, "", {}, "", "", false, ""},
    {"New: Cancel stops", cmd::file_new, true, "a.cry", text, {answer::cancel}, {}, {}, "", {question}, text, "a.cry", true, ""},
    {"New: No goes ahead unsaved", cmd::file_new, true, "a.cry", text, {answer::no}, {}, {}, "", {question}, "", "", false, ""},
    {"New: Yes saves to the current path", cmd::file_new, true, "a.cry", text, {answer::yes}, {}, {}, "", {question}, "", "", false, "a.cry"},
    {"New: Yes on an unnamed text asks for a name", cmd::file_new, true, "", text, {answer::yes}, {}, "b.cry", "", {unnamed_question}, "", "", false, "b.cry"},
    {"New: Yes with a cancelled Save as stops", cmd::file_new, true, "", text, {answer::yes}, {}, {}, "", {unnamed_question}, text, "", true, ""},
    {"New: Yes with a file that cannot be created stops", cmd::file_new, true, "missing/a.cry", text, {answer::yes}, {}, {}, "", {question, "Error creating file!"}, text, "missing/a.cry", true, ""},
    {"New: Yes with an empty text stops", cmd::file_new, true, "a.cry", "", {answer::yes}, {}, {}, "", {question, "text length is zero"}, "", "a.cry", true, "a.cry"},
    {"Open: 8-bit bytes and CR LF arrive unchanged", cmd::file_open, true, "a.cry", text, {answer::no}, "o.cry", {}, "\xe9t\xe9\r\n\xa0\xff\nz", {question}, "\xe9t\xe9\r\n\xa0\xff\nz", "o.cry", false, ""},
    {"Open: a zero byte ends the text", cmd::file_open, false, "", text, {}, "o.cry", {}, std::string("ab\0cd", 5), {}, "ab", "o.cry", false, ""},
    {"Open: 31999 bytes open", cmd::file_open, false, "", text, {}, "o.cry", {}, big_file.substr(1), {}, big_file.substr(1), "o.cry", false, ""},
    {"Open: 32000 bytes are refused", cmd::file_open, true, "a.cry", text, {answer::no}, "o.cry", {}, big_file, {question, "Edit control out of space!", "Could not read file!"}, text, "a.cry", true, ""},
    {"Open: a missing file", cmd::file_open, false, "a.cry", text, {}, "none.cry", {}, "", {"Could not read file!"}, text, "a.cry", false, ""},
    // After No and a cancelled Open the changed text is still there: the flag keeps guarding it.
    {"Open: No, then the dialog cancelled", cmd::file_open, true, "a.cry", text, {answer::no}, {}, {}, "", {question}, text, "a.cry", true, ""},
    {"Import: a new untitled document", cmd::file_import, false, "a.cry", text, {}, "hex.cif", {}, hex_cif, {}, hex_text, "", true, ""},
    {"Import: No to the question, then imported", cmd::file_import, true, "a.cry", text, {answer::no}, "hex.cif", {}, hex_cif, {question}, hex_text, "", true, ""},
    {"Import: Cancel to the question", cmd::file_import, true, "a.cry", text, {answer::cancel}, "hex.cif", {}, hex_cif, {question}, text, "a.cry", true, ""},
    {"Import: a refused structure", cmd::file_import, false, "a.cry", text, {}, "hex.cif", {}, "data_x\n", {"hex.cif: no atoms"}, text, "a.cry", false, ""},
    {"Import: a file that cannot be read", cmd::file_import, false, "a.cry", text, {}, "none.cif", {}, "", {"Could not read file!"}, text, "a.cry", false, ""},
    {"Import: too large for the editor", cmd::file_import, false, "a.cry", text, {}, "hex.cif", {}, big_cif(), {"Edit control out of space!"}, text, "a.cry", false, ""},
    {"Save: an empty text leaves an empty file", cmd::file_save, true, "a.cry", "", {}, {}, {}, "", {"text length is zero"}, "", "a.cry", true, "a.cry"},
    {"Save as: cancelled", cmd::file_save_as, true, "a.cry", text, {}, {}, {}, "", {}, text, "a.cry", true, ""},
    {"Save as: writes and renames", cmd::file_save_as, true, "a.cry", text, {}, {}, "n.cry", "", {}, text, "n.cry", false, "n.cry"},
    {"Save as: a failed write keeps the new caption and the flag", cmd::file_save_as, true, "", text, {}, {}, "missing/n.cry", "", {"Error creating file!"}, text, "missing/n.cry", true, ""},
    {"Save as: a full disk", cmd::file_save_as, true, "", text, {}, {}, "/dev/full", "", {"Error writing file! Disk full?"}, text, "full", true, ""},
    {"Close: unchanged", 0, false, "a.cry", text, {}, {}, {}, "", {}, text, "a.cry", false, "", true},
    {"Close: No", 0, true, "a.cry", text, {answer::no}, {}, {}, "", {question}, text, "a.cry", true, "", true},
    {"Close: Cancel", 0, true, "a.cry", text, {answer::cancel}, {}, {}, "", {question}, text, "a.cry", true, "", false},
};
// clang-format on

TEST(Documents, CommandsFromEachState) {
    for (const auto& c : document_cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        fixture f;
        f.ui.editor = c.editor;
        f.doc.modified = c.modified;
        f.doc.current_name = std::filesystem::path(c.current).filename().string();
        f.doc.current_path = c.current.empty() ? "" : dir.file(c.current);
        f.window.set_caption(f.doc.current_name);
        f.ui.answers.assign(c.answers.begin(), c.answers.end());
        f.ui.open_choices.push_back(c.opened ? std::optional(dir.file(*c.opened)) : std::nullopt);
        f.ui.save_choices.push_back(c.saved ? std::optional(dir.file(*c.saved)) : std::nullopt);
        if (c.opened && *c.opened != "none.cry" && *c.opened != "none.cif")
            write_file(dir.file(*c.opened), c.file_bytes);

        if (c.command == 0) {
            EXPECT_EQ(may_close(f.sh), c.closes);
        } else {
            dispatch_command(f.sh, c.command);
        }
        const std::vector<std::string> shown = f.ui.message_texts();
        ASSERT_EQ(shown.size(), c.messages.size()) << testing::PrintToString(shown);
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(shown[i].substr(0, c.messages[i].size()), c.messages[i]);
        EXPECT_EQ(f.ui.editor, c.editor_after);
        EXPECT_EQ(f.window.caption,
                  caption_text(std::filesystem::path(c.caption_after).filename().string()));
        EXPECT_EQ(f.doc.modified, c.modified_after);
        if (!c.written.empty()) {
            EXPECT_EQ(read_file(dir.file(c.written)), c.editor);
        } else if (!c.current.empty() && c.current != c.caption_after) {
            EXPECT_FALSE(std::filesystem::exists(dir.file(c.current)));
        }
    }
}

TEST(Documents, FileHeldOpenElsewhereIsNotRead) {
    scratch_dir dir;
    fixture f;
    write_file(dir.file("held.cry"), "x");
    auto held = exclusive_file::open_existing(dir.file("held.cry"), exclusive_file::access::read);
    ASSERT_TRUE(held);
    EXPECT_FALSE(read_file_into_editor(f.sh, dir.file("held.cry")));
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(Documents, EditorNotifications) {
    fixture f;
    editor_notification(f.sh, editor_event::changed);
    EXPECT_TRUE(f.doc.modified);
    EXPECT_TRUE(f.ui.messages.empty());
    editor_notification(f.sh, editor_event::out_of_space);
    EXPECT_EQ(f.ui.message_texts(), std::vector<std::string>{"Edit control out of space!"});
}

TEST(Dispatch, WindowCommandsReachTheWindow) {
    struct {
        int command;
        std::vector<int> edits;
        int about, closes;
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
        f.ui.editor = text;
        dispatch_command(f.sh, c.command);
        EXPECT_EQ(f.window.edits, c.edits);
        EXPECT_EQ(f.window.about_boxes, c.about);
        EXPECT_EQ(f.window.close_requests, c.closes);
        EXPECT_EQ(f.ui.help_topics, c.help);
        EXPECT_TRUE(f.ui.messages.empty());
        EXPECT_TRUE(f.doc.modified);
        EXPECT_EQ(f.ui.editor, text);
    }
}

// Every menu command with an action runs it (each asks for a file, a dialog or says why it
// stops), and an action's result file is never the document: Save still writes the text where
// the document lives.
TEST(Dispatch, ActionCommandsRunTheirActionAndLeaveTheDocument) {
    for (const command_row& row : command_table()) {
        if (row.run == nullptr || row.menu.empty()) continue;
        SCOPED_TRACE(row.number);
        scratch_dir dir;
        fixture f;
        f.ui.editor = text;
        f.doc = {dir.file("in.cry"), "in.cry", false, {}};
        f.ui.save_choices.push_back(dir.file("result.txt"));
        dispatch_command(f.sh, row.number);
        EXPECT_TRUE(!f.ui.proposed_save_names.empty() || !f.ui.dialogs_shown.empty() ||
                    !f.ui.messages.empty());
        EXPECT_EQ(f.ui.editor, text) << "actions never change the text";
        EXPECT_EQ(f.doc.current_path, dir.file("in.cry"));
        EXPECT_FALSE(f.doc.modified);
        dispatch_command(f.sh, cmd::file_save);
        EXPECT_EQ(read_file(dir.file("in.cry")), text);
    }
}

}  // namespace
}  // namespace orvix

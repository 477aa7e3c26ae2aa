// The document and the command dispatcher of the desktop program, without any Qt: New, Open,
// Save, Save as and Exit with the save question, the editor's notifications, the edit
// commands, help, About and every action by its command number. The window is reached only
// through `shell_window`, the user only through the services, so all of this runs under the
// scripted services in tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "actions/action_protocol.h"
#include "commands/command_table.h"

namespace orvix {

// The editor holds at most this many characters, a line break counting as the two bytes
// (CR LF) it becomes in a file; a file of this many bytes or more is not opened.
inline constexpr std::size_t editor_limit = 32000;

// A caption is formed from a name of at most this many characters.
inline constexpr std::size_t caption_name_limit = 511;

// What the document commands need of the main window beyond the services.
class shell_window {
  public:
    virtual ~shell_window() = default;
    // Makes these 8-bit bytes the editor's whole text, unchanged.
    virtual void set_editor_text(const std::string& bytes) = 0;
    // Shows `caption_text(name)` in the window's title bar.
    virtual void set_caption(const std::string& name) = 0;
    // Undo, Cut, Copy, Paste, Delete, Select all (commands 110 to 115) on the editor.
    virtual void edit(int command) = 0;
    virtual void show_about() = 0;
    // Asks the window to close; the window puts the save question through `may_close`.
    virtual void request_close() = 0;
};

// Everything the dispatcher works on: the user, the window and the document.
struct shell {
    services& ui;
    shell_window& window;
    document_state& doc;
};

// "Orvix - NAME", or "Orvix - (untitled)" for an empty name.
std::string caption_text(std::string_view name);

// "Save current changes in NAME?" with Yes, No and Cancel. Yes saves as command 102 does and
// turns into Cancel when that save fails or its dialog is cancelled, so that whatever waits
// for the answer does not go ahead and lose the text.
answer ask_save_changes(shell& sh);

// Whether the window may close (also asked at log-off and shutdown): always while nothing
// is modified, otherwise unless the save question ends in Cancel.
bool may_close(shell& sh);

// Reads the file into the editor when it holds fewer than `editor_limit` bytes; a zero byte
// ends the text. "Edit control out of space!" (caption: the path) for a larger file; no
// message when it cannot be opened.
bool read_file_into_editor(shell& sh, const std::string& path);

// Open: the open dialog, then the file into the editor and the caption; "Could not read
// file!" (caption: the name) empties the current name and path. True only when the file
// was read into the editor.
bool open_document(shell& sh);

// The Save as dialog alone: true when a file was chosen (current path and name hold it).
bool save_document_as(shell& sh);

// Command 102: to the current path, or through Save as when there is none. True (and the
// modified flag cleared) when the text was written.
bool save_document(shell& sh);

// Command 103: the Save as dialog, the caption, then the text to the chosen file.
bool save_document_as_command(shell& sh);

// Command 106: a CIF or .magres file through the open dialog (its own filters), turned into
// crystal data text that becomes a new untitled document, so that Save never writes over the
// imported file. A refused file, or a text too large for the editor, leaves the editor and
// the document as they were. Partly occupied sites are kept and named in a warning. True
// when the text was put into the editor.
bool import_structure_document(shell& sh);

// The editor's notifications: its text changed, or it refused text beyond its limit.
enum class editor_event { changed, out_of_space };
void editor_notification(shell& sh, editor_event event);

// Runs one command by its number: document, edit, help and About commands here, every other
// number through the command table (a number without an action does nothing).
void dispatch_command(shell& sh, int command);

}  // namespace orvix

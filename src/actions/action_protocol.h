// The document state and the protocol every action follows: its input is a temporary copy
// of the editor text (or, for an empty editor, a file the user chooses), its result a file
// chosen in the save dialog, created empty and appended to; both are released on every
// exit by construction.
#pragma once

#include <optional>
#include <string>

#include "actions/messages.h"
#include "platform/files.h"
#include "platform/services.h"

namespace orvix {

// The document: current path and name and the modified flag. Only Open, Save as and New
// change the path and name; an action's file dialogs propose the name but keep their
// choices to the action (action_context::name), so that Save never writes over a result.
struct document_state {
    std::string current_path;
    std::string current_name;
    bool modified = false;
    file_dialog_record file_dialog;
};

// How an action ended, for orvix-cli's exit status; the desktop program ignores it.
enum class action_result { completed, failed, cancelled };

struct action_context;
using action_function = action_result (*)(action_context&);

// What every action receives: the services, the document, and its mode where it has one
// (1 forwards / 0 backwards for the Euler rotations, 4 / 5 for the two Diagonalise orders).
struct action_context {
    services& ui;
    document_state& doc;
    int mode = 0;
    // The action's own command number, for an action that posts itself again.
    int command = 0;
    // The name buffer of the action's own file dialogs: it starts as the document's current
    // name, which the input dialog proposes, and the save dialog proposes what it then
    // holds (the chosen input's name after an input dialog). It dies with the action.
    std::string name;
};

// The input of a running action. Closing the file and deleting a temporary copy happen when
// the record goes out of scope, on every exit. A temporary copy
// is deleted as soon as it is open (`is_temporary` is then false): read through the open
// file, it needs no name, and nothing is left behind however the process ends.
struct action_input {
    bool is_temporary = false;
    std::optional<exclusive_file> file;
    std::string path;

    action_input() = default;
    action_input(const action_input&) = delete;
    action_input& operator=(const action_input&) = delete;
    ~action_input();
};

// An error box: the one way every action and document command shows an error.
void show_error(services& ui, std::string_view text, std::string_view caption = msg::program_name);

// Writes the editor's text to `path` with the messages of a document save ("Error creating
// file!", "text length is zero", "Error writing file! Disk full?", ...). The editor text is
// taken as given (CR LF line ends).
bool write_editor_to_file(services& ui, const std::string& text, const std::string& path);

// The files of a running action: its input and, once chosen, its result file. Declared in
// this order, so that leaving the action's scope closes the result before it releases the
// input and deletes a temporary copy, on every exit.
struct action_files {
    action_input input;
    std::optional<exclusive_file> result;
};

// The start of most actions: the input, then the result file from the save dialog. Nothing
// when both are open; otherwise how the action ends (failed without an input, cancelled
// without a result file), after the protocol's own messages.
std::optional<action_result> open_action_files(action_context& ctx, action_files& files);

// Fills `input` from the editor text (a temporary "orv" copy) or from a chosen file, opened
// without sharing and positioned at its start. False after its own messages.
bool open_action_input(action_context& ctx, action_input& input);

// Asks for an input file proposing `name`; checks that it can be read. On success `path`
// holds its full path and `name` its name; after a file that cannot be read both are empty.
bool choose_input_file(services& ui, document_state& doc, std::string& path, std::string& name);

// Asks for the result file in the save dialog (proposing the action's name), creates it
// empty and opens it for appending. Nothing when cancelled or when it cannot be created;
// no message then, but the services hear why (result_not_created). `reopen_failed`, when
// given, tells the last failure (created but not opened again) apart.
std::optional<exclusive_file> create_result_file(action_context& ctx,
                                                 bool* reopen_failed = nullptr);

}  // namespace orvix

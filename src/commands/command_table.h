// The one table of commands. A row owns a command whole: its number (the dispatch key), its
// place and text in the menus, its accelerator, its help topic, its orvix-cli subcommand with
// the options that answer its dialogs, and the function that runs it. The desktop program
// builds its menus from the rows, orvix-cli its subcommands, and dispatch finds the action
// here. Adding an action is: its feature folder, one row, its dialog if it has one, its help
// page.
#pragma once

#include <span>
#include <string_view>

#include "actions/action_protocol.h"

namespace CLI {
class App;
}

namespace orvix {

struct command_line_answers;

// Command numbers of the menu entries and accelerators.
namespace cmd {
inline constexpr int editor = 1;  // the editor's own notifications
inline constexpr int file_new = 100;
inline constexpr int file_open = 101;
inline constexpr int file_save = 102;  // no menu entry: reached through the save question
inline constexpr int file_save_as = 103;
inline constexpr int file_exit = 104;
inline constexpr int polar_angles = 105;
inline constexpr int file_import = 106;  // Import Structure...
inline constexpr int edit_undo = 110;
inline constexpr int edit_cut = 111;
inline constexpr int edit_copy = 112;
inline constexpr int edit_paste = 113;
inline constexpr int edit_delete = 114;
inline constexpr int edit_select_all = 115;
inline constexpr int generate_positions = 120;
inline constexpr int calculate_euler_angles = 121;
inline constexpr int euler_backwards = 122;
inline constexpr int euler_forwards = 123;
inline constexpr int orthogonalize_axes = 124;
inline constexpr int orthogonalize_coordinates = 125;
inline constexpr int calculate_normal = 126;
inline constexpr int generate_block = 127;
inline constexpr int make_oblique = 128;  // always greyed, no action
inline constexpr int generate_cluster = 129;
inline constexpr int dipolar_moment = 130;
inline constexpr int diagonalise_descending = 131;
inline constexpr int diagonalise_ascending = 132;
inline constexpr int tensor_parameters = 133;
inline constexpr int help_contents = 140;
inline constexpr int help_about = 141;
// Commands of orvix-cli alone, without a menu entry.
inline constexpr int echo_atoms = 900;
inline constexpr int nuclei_table = 901;
}  // namespace cmd

// Adds a command's options to its orvix-cli subcommand; once parsed, they fill the answers.
using add_options_function = void (*)(CLI::App& sub, command_line_answers& answers);

struct command_row {
    int number;
    // The menu entry: top menu, submenu ("" for the top menu itself) and text ("" for a
    // separator, "" menu for a command without a menu entry).
    std::string_view menu;
    std::string_view submenu;
    std::string_view text;
    std::string_view key_hint;    // shown flush right in the menu, in our own words ("Ctrl-N")
    std::string_view shortcut;    // the accelerator as a key sequence ("Ctrl+N"); "" for none
    bool greyed;                  // always disabled
    std::string_view help_topic;  // the command's help page
    // orvix-cli: the subcommand ("" for none; hidden when its help is "") and its options.
    std::string_view cli_name;
    std::string_view cli_help;
    add_options_function add_options;
    // The action and its mode; no action for the document, edit and help commands, which
    // dispatch runs itself.
    action_function run;
    int mode;
};

std::span<const command_row> command_table();

// The row of a command number, or null.
const command_row* find_command(int number);

// Runs the action of a row (false when the row has none) with the document's services.
action_result run_command_action(const command_row& row, services& ui, document_state& doc);

}  // namespace orvix

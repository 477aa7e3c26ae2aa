// orvix-cli's side of the command table: the answers the options give to a command's
// dialogs and questions (one typed record), and each command's function that adds its options.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_table.h"
#include "platform/dialog_records.h"

namespace orvix {

// The Dipolar Second Moment dialog's fields as given; an unset one keeps the record's value,
// as an untouched dialog field would.
struct dipolar_answers {
    std::optional<int> observed;  // list positions
    std::optional<int> coupled;
    std::optional<double> abundance;
    std::optional<int> moment_type;
    std::optional<double> alpha, beta, gamma_start, gamma_increment, gamma_end, phase, cutoff;
    std::optional<int> rotation_sense;
};

// Fills the record in the order a user works through the dialog: a coupled nucleus brings
// its natural abundance, which a typed abundance then replaces.
void apply_dipolar_answers(const dipolar_answers& given, dipolar_parameters& record);

// Everything the command line decides: which command runs, and how its dialogs and
// questions are answered. A dialog without an answer is cancelled.
struct command_line_answers {
    int command = 0;                   // the row to run; an option may choose a sibling row
    std::optional<int> mode;           // a mode of the command line's own
    bool clipboard_result = false;     // the result is the clipboard text, not a file
    std::function<int()> run_instead;  // runs instead of an action (a table, an import)

    // Questions.
    bool normalize = false;     // normalise direction cosines that are not unit vectors
    bool refuse_large = false;  // refuse a result of more than 100000000 lines

    // Dialogs.
    std::optional<int> invert_axis;  // 0 x, 1 y, 2 z
    std::optional<euler_angles> rotation;
    std::optional<axis_order> order;
    std::optional<dipolar_answers> dipolar;
    std::vector<symmetry_operation> operations;  // one per Symmetry Operations dialog
    std::optional<std::int32_t> block_n;
    std::optional<cluster_record> cluster;  // site and radius
    std::optional<tensor_parameters_record> tensor_parameters;
};

// A whole argument read as one locale-free number (blanks around it allowed), or nothing.
std::optional<double> parse_cli_number(const std::string& text);

void add_generate_positions_options(CLI::App& sub, command_line_answers& answers);
void add_generate_block_options(CLI::App& sub, command_line_answers& answers);
void add_cluster_options(CLI::App& sub, command_line_answers& answers);
void add_orthogonalize_axes_options(CLI::App& sub, command_line_answers& answers);
void add_order_options(CLI::App& sub, command_line_answers& answers);
void add_explained_end_options(CLI::App& sub, command_line_answers& answers);
void add_euler_angles_options(CLI::App& sub, command_line_answers& answers);
void add_rotate_options(CLI::App& sub, command_line_answers& answers);
void add_dipolar_options(CLI::App& sub, command_line_answers& answers);
void add_diagonalise_options(CLI::App& sub, command_line_answers& answers);
void add_tensor_parameters_options(CLI::App& sub, command_line_answers& answers);
void add_nuclei_options(CLI::App& sub, command_line_answers& answers);
void add_import_options(CLI::App& sub, command_line_answers& answers);

// Writes "orvix-cli: TEXT" (and " (CAPTION)" for a caption other than the program's name)
// as one line to standard error; a line break inside the text becomes a blank.
void print_cli_message(std::string_view text, std::string_view caption);

// Everything standard input holds, up to its end.
std::string read_standard_input();

}  // namespace orvix

// orvix-cli: the subcommands from the command table; parse, run one action, report.
#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "actions/action_runner.h"
#include "actions/messages.h"
#include "cli/cli_services.h"
#include "commands/command_options.h"
#include "commands/command_table.h"
#include "platform/files.h"
#include "platform/signal_cleanup.h"

namespace orvix {

namespace {

// Writes the clipboard text, the result of an action that has no result file, with a line
// end to FILE or to standard output. It runs while the action still holds its input, so that
// a FILE that is the input is refused as every other action refuses it.
void write_clipboard_result(cli_services& ui, std::string_view text, const std::string& output) {
    int error = 0;
    std::optional<exclusive_file> file = ui.open_result_stream(output, error);
    if (!file && error == 0) file = exclusive_file::create(output, &error);
    if (!file) {
        ui.result_not_created(output, error);
        return;
    }
    try {
        file->write(text);
        file->write("\r\n");
        file->close();
    } catch (const write_failure& failure) {
        print_cli_message(msg::error_writing_file, failure.path());
        ui.error_shown = true;
    }
}

}  // namespace

int run_cli(int argc, char** argv) {
    CLI::App app{
        "orvix-cli: run Orvix actions on crystal data files in batch.\n"
        "Every result is written byte for byte as the desktop program writes it.",
        "orvix-cli"};
    app.set_version_flag("--version", std::string("orvix-cli ") + ORVIX_VERSION);
    app.require_subcommand(1, 1);
    command_line_answers answers;
    std::string input;
    std::string output;
    std::vector<std::pair<CLI::App*, const command_row*>> subcommands;
    for (const command_row& row : command_table()) {
        if (row.cli_name.empty()) continue;
        CLI::App* sub = app.add_subcommand(std::string(row.cli_name), std::string(row.cli_help));
        if (row.cli_help.empty()) sub->group("");
        if (row.run != nullptr) {
            sub->add_option("INPUT", input, "crystal data file; '-' or none reads standard input");
            sub->add_option("-o,--output", output,
                            "result file; '-' or none writes standard output");
        }
        if (row.add_options != nullptr) row.add_options(*sub, answers);
        subcommands.emplace_back(sub, &row);
    }

    // A usage error prints what was wrong and the usage text, and exits with status 2.
    app.failure_message(CLI::FailureMessage::help);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : 2;
    }
    // Before the first temporary file: an interrupted run leaves none behind.
    clean_up_temporaries_on_signals();

    try {
        if (answers.run_instead) return answers.run_instead();
        // The subcommand given runs its row, unless one of its options chose a sibling row.
        for (const auto& [sub, row] : subcommands)
            if (sub->parsed() && answers.command == 0) answers.command = row->number;
        const command_row* row = find_command(answers.command);
        if (row == nullptr || row->run == nullptr) return 2;

        cli_services ui(answers);
        if (input.empty() || input == "-") {
            ui.editor = read_standard_input();
        } else {
            ui.open_choices.push_back(input);
        }

        // Without -o, or with -o -, the result streams to standard output.
        if (output.empty()) output = std::string(standard_output_name);
        if (answers.clipboard_result) {
            ui.on_clipboard_text = [&ui, &output](std::string_view text) {
                write_clipboard_result(ui, text, output);
            };
        } else {
            ui.save_choices.push_back(output);
        }
        document_state doc;
        const action_result result =
            run_action(row->run, row->number, answers.mode.value_or(row->mode), ui, doc);
        return result == action_result::completed && !ui.error_shown ? 0 : 1;
    } catch (const std::exception& error) {
        print_cli_message(error.what(), "");
        return 1;
    }
}

}  // namespace orvix

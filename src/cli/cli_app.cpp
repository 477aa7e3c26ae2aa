// orvix-cli: parse, run one action through the shared action table, report.
#include "cli/cli_app.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "app/action_table.h"
#include "app/echo_action.h"
#include "app/messages.h"
#include "platform/files.h"
#include "platform/scan.h"
#include "platform/signal_cleanup.h"

namespace orvix {

// The feature registration functions, declared from the same list that calls them.
#define ORVIX_CLI_FEATURE(register_function) \
    void register_function(CLI::App& app, cli_invocation& invocation);
#include "cli/cli_features.inc"
#undef ORVIX_CLI_FEATURE

namespace {

std::string read_standard_input() {
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, got);
    return text;
}

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

std::optional<double> parse_cli_number(const std::string& text) {
    std::string_view rest(text);
    double value = 0;
    if (!scan_double(rest, value)) return std::nullopt;
    while (!rest.empty() && is_c_space(rest.front())) rest.remove_prefix(1);
    if (!rest.empty()) return std::nullopt;
    return value;
}

const CLI::Validator number_check(
    [](std::string& text) {
        return parse_cli_number(text) ? std::string() : "'" + text + "' is not a number";
    },
    "");

CLI::App* add_action_subcommand(CLI::App& app, cli_invocation& invocation, const std::string& name,
                                const std::string& description, int command) {
    CLI::App* sub = app.add_subcommand(name, description);
    sub->add_option("INPUT", invocation.input,
                    "crystal data file; '-' or none reads standard input");
    sub->add_option("-o,--output", invocation.output,
                    "result file; '-' or none writes standard output");
    sub->callback([&invocation, command] { invocation.command = command; });
    invocation.configure.owner = sub;
    return sub;
}

void add_normalize_option(CLI::App& sub, cli_invocation& invocation) {
    CLI::Option* flag = sub.add_flag("--normalize")
                            ->description(
                                "answer OK to the question whether to normalise direction cosines "
                                "that are not unit "
                                "vectors");
    invocation.configure.push_back([flag](cli_services& ui) {
        if (flag->count() > 0)
            ui.answers_by_text.emplace(std::string(msg::not_unit_vectors), answer::ok);
    });
}

void add_invert_option(CLI::App& sub, cli_invocation& invocation) {
    auto axis = std::make_shared<std::string>();
    sub.add_option("--invert", *axis,
                   "answer the Axis Inversion dialog of a left-handed axis system by inverting "
                   "this axis")
        ->check(CLI::IsMember({"x", "y", "z"}, CLI::ignore_case));
    invocation.configure.push_back([axis](cli_services& ui) {
        if (axis->empty()) return;
        const int index = (*axis)[0] == 'x' || (*axis)[0] == 'X'   ? 0
                          : (*axis)[0] == 'y' || (*axis)[0] == 'Y' ? 1
                                                                   : 2;
        ui.on_axis_inversion = [index](int& chosen) {
            chosen = index;
            return dialog_result::ok;
        };
    });
}

void add_internal_commands(CLI::App& app, cli_invocation& invocation) {
    // Rewrites the crystal data in the program's own line formats; kept out of the help.
    CLI::App* sub =
        add_action_subcommand(app, invocation, "echo-atoms",
                              "rewrite crystal data in the program's formats", echo_command);
    sub->group("");
}

int run_cli(int argc, char** argv) {
    CLI::App app{
        "orvix-cli: run Orvix actions on crystal data files in batch.\n"
        "Every result is written byte for byte as the desktop program writes it.",
        "orvix-cli"};
    app.set_version_flag("--version", std::string("orvix-cli ") + ORVIX_VERSION);
    app.require_subcommand(1, 1);
    cli_invocation invocation;
    add_internal_commands(app, invocation);
    // Feature subcommands.
#define ORVIX_CLI_FEATURE(register_function) register_function(app, invocation);
#include "cli/cli_features.inc"
#undef ORVIX_CLI_FEATURE

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
        if (invocation.run_instead) return invocation.run_instead();

        const action_entry* found = find_action(invocation.command);
        if (found == nullptr) return 2;
        action_entry entry = *found;
        if (invocation.mode) entry.mode = *invocation.mode;

        cli_services ui;
        invocation.configure.run(ui);

        if (invocation.input.empty() || invocation.input == "-") {
            ui.editor = read_standard_input();
        } else {
            ui.open_choices.push_back(invocation.input);
        }

        // Without -o, or with -o -, the result streams to standard output.
        const std::string output =
            invocation.output.empty() ? std::string(standard_output_name) : invocation.output;
        if (invocation.clipboard_result) {
            ui.on_clipboard_text = [&ui, &output](std::string_view text) {
                write_clipboard_result(ui, text, output);
            };
        } else {
            ui.save_choices.push_back(output);
        }
        document_state doc;
        const action_result result = run_action(entry, ui, doc);
        return result == action_result::completed && !ui.error_shown ? 0 : 1;
    } catch (const std::exception& error) {
        print_cli_message(error.what(), "");
        return 1;
    }
}

}  // namespace orvix

// orvix-cli subcommands of the axis-system actions: euler-angles and rotate.
//
// Calculate Euler angles needs more than the common runner gives: it has no result file
// (its result is the clipboard text, written here to standard output or -o).
#include <cstdio>
#include <memory>
#include <string>

#include "app/action_table.h"
#include "app/messages.h"
#include "axes/axes_actions.h"
#include "cli/cli_app.h"
#include "platform/files.h"
#include "platform/scan.h"

namespace orvix {

namespace {

// A number as the dialog fields accept it: a C-style decimal, nothing after it.
bool parse_number(const std::string& text, double& value) {
    std::string_view rest(text);
    double parsed = 0;
    if (!scan_double(rest, parsed)) return false;
    while (!rest.empty() && is_c_space(rest.front())) rest.remove_prefix(1);
    if (!rest.empty()) return false;
    value = parsed;
    return true;
}

const CLI::Validator number_validator(
    [](std::string& text) {
        double ignored = 0;
        return parse_number(text, ignored) ? std::string() : "'" + text + "' is not a number";
    },
    "DEG");

std::string read_standard_input() {
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, got);
    return text;
}

bool write_stdout(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// Services set up as the common runner sets them: the subcommands' answers, and the input
// from INPUT or standard input.
void prepare(cli_invocation& invocation, cli_services& ui) {
    for (auto& configure : invocation.configure) configure(ui);
    if (invocation.input.empty() || invocation.input == "-")
        ui.editor = read_standard_input();
    else
        ui.open_choices.push_back(invocation.input);
}

// Calculate Euler angles: the clipboard text and a CR LF, the line end of every line the
// program writes, to standard output or -o FILE.
int run_euler_angles(cli_invocation& invocation) {
    cli_services ui;
    prepare(invocation, ui);
    document_state doc;
    const action_result result = run_action(*find_action(calculate_euler_command), ui, doc);
    if (result != action_result::completed || ui.error_shown || !ui.clipboard) return 1;
    const std::string line = *ui.clipboard + "\r\n";
    if (invocation.output.empty()) {
        if (write_stdout(line)) return 0;
        print_cli_message(msg::error_writing_file, "standard output");
        return 1;
    }
    auto file = exclusive_file::create(invocation.output);
    if (!file) {
        print_cli_message(msg::error_creating_file, invocation.output);
        return 1;
    }
    try {
        file->write(line);
        file->close();
    } catch (const write_failure&) {
        print_cli_message(msg::error_writing_file, invocation.output);
        return 1;
    }
    return 0;
}

// Runs `run` instead of the common runner once the subcommand has been chosen.
void run_instead(CLI::App* sub, cli_invocation& invocation, int command,
                 std::function<int(cli_invocation&)> run) {
    sub->callback([&invocation, command, run] {
        invocation.command = command;
        invocation.run_instead = [&invocation, run] { return run(invocation); };
    });
}

void add_euler_angles(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "euler-angles",
        "Euler angles of the axis system given by the first three atom lines (direction "
        "cosines of the new x, y, z); writes \"alpha  beta  gamma\" in degrees",
        calculate_euler_command);
    add_normalize_option(*sub, invocation);
    add_invert_option(*sub, invocation);
    // Without --invert the Axis Inversion dialog has no answer: like an unanswered
    // question, its text goes to standard error and the command fails.
    invocation.configure.push_back([sub](cli_services& ui) {
        if (!sub->parsed() || ui.on_axis_inversion) return;
        ui.on_axis_inversion = [&ui](int&) {
            print_cli_message(msg::left_handed, "");
            ui.error_shown = true;
            return dialog_result::cancel;
        };
    });
    run_instead(sub, invocation, calculate_euler_command, run_euler_angles);
}

void add_rotate(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "rotate",
        "turn every atom position through three Euler angles, forwards (reference frame into "
        "the new frame) or backwards",
        euler_forwards_command);
    auto forwards = std::make_shared<bool>(false);
    auto backwards = std::make_shared<bool>(false);
    CLI::App* direction = sub->add_option_group("direction", "exactly one is required");
    direction->add_flag("--forwards", *forwards)
        ->description("express positions given in the reference frame in the new frame");
    direction->add_flag("--backwards", *backwards)
        ->description("express positions given in the new frame in the reference frame");
    direction->require_option(1);
    auto angles = std::make_shared<std::array<std::string, 3>>();
    const char* names[3] = {"--alpha", "--beta", "--gamma"};
    const char* helps[3] = {"rotation about z, degrees (default 0)",
                            "rotation about the new y, degrees (default 0)",
                            "rotation about the newest z, degrees (default 0)"};
    for (std::size_t i = 0; i < 3; ++i) {
        (*angles)[i] = "0";
        sub->add_option(names[i], (*angles)[i], helps[i])->check(number_validator);
    }
    sub->callback([&invocation, forwards] {
        invocation.command = *forwards ? euler_forwards_command : euler_backwards_command;
    });
    invocation.configure.push_back([sub, angles](cli_services& ui) {
        if (!sub->parsed()) return;
        euler_angles chosen;
        parse_number((*angles)[0], chosen.alpha);
        parse_number((*angles)[1], chosen.beta);
        parse_number((*angles)[2], chosen.gamma);
        ui.on_euler_rotations = [chosen](euler_angles& record) {
            record = chosen;
            return dialog_result::ok;
        };
    });
}

}  // namespace

void add_axes_commands(CLI::App& app, cli_invocation& invocation) {
    add_euler_angles(app, invocation);
    add_rotate(app, invocation);
}

}  // namespace orvix

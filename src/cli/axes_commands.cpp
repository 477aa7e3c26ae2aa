// orvix-cli subcommands of the axis-system actions: euler-angles, rotate,
// orthogonalize-axes, orthogonalize-coordinates, normal and polar.
//
// Three of them need more than the common runner gives: Calculate Euler angles has no
// result file (its result is the clipboard text, written here to standard output or -o),
// and Calculate normal and Polar angles end silently in the desktop program when the cell
// line is missing or not Cartesian, which on the command line becomes a message and
// status 1. Those three run through their own runners below instead of the common one.
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

// Three letters a, b, c in any mix: the old axes chosen in the rows X, Y and Z. Whether
// each axis is chosen once is the action's own check, as in the dialog.
const CLI::Validator order_validator(
    [](std::string& text) {
        if (text.size() != 3) return std::string("an order is three letters a, b or c");
        for (char c : text)
            if (c != 'a' && c != 'b' && c != 'c' && c != 'A' && c != 'B' && c != 'C')
                return std::string("an order is three letters a, b or c");
        return std::string();
    },
    "XYZ");

std::string read_standard_input() {
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, got);
    return text;
}

// The bytes of a file the action has closed again (empty when it cannot be read).
std::string read_whole_file(const std::string& path) {
    std::string bytes;
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    if (!file) return bytes;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file->stream())) > 0)
        bytes.append(buffer, got);
    return bytes;
}

bool write_stdout(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

// The result file goes to -o, or through a temporary file to standard output.
struct result_target {
    std::string path;
    bool to_stdout = false;
    ~result_target() {
        if (to_stdout && !path.empty()) delete_file(path);
    }
};

// Services set up as the common runner sets them: the subcommands' answers, and the input
// from INPUT or standard input.
void prepare(cli_invocation& invocation, cli_services& ui) {
    invocation.configure.run(ui);
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

// Calculate normal and Polar angles, with their silent end explained.
int run_cartesian_action(cli_invocation& invocation, int command) {
    cli_services ui;
    prepare(invocation, ui);
    result_target target;
    if (invocation.output.empty()) {
        auto temporary = make_temporary_file();
        if (!temporary) {
            print_cli_message(msg::no_temp_file, "");
            return 1;
        }
        target.path = *temporary;
        target.to_stdout = true;
    } else {
        target.path = invocation.output;
    }
    ui.save_choices.push_back(target.path);

    action_entry entry = *find_action(command);
    entry.mode = explain_silent_end;
    document_state doc;
    const action_result result = run_action(entry, ui, doc);
    if (target.to_stdout && !write_stdout(read_whole_file(target.path))) {
        print_cli_message(msg::error_writing_file, "standard output");
        return 1;
    }
    return result == action_result::completed && !ui.error_shown ? 0 : 1;
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
    // The option values live as long as the callbacks that read them.
    struct rotate_options {
        bool forwards = false;
        bool backwards = false;
        std::array<std::string, 3> angles = {"0", "0", "0"};
    };
    auto options = std::make_shared<rotate_options>();
    CLI::App* direction = sub->add_option_group("direction", "exactly one is required");
    direction->add_flag("--forwards", options->forwards)
        ->description("express positions given in the reference frame in the new frame");
    direction->add_flag("--backwards", options->backwards)
        ->description("express positions given in the new frame in the reference frame");
    direction->require_option(1);
    const char* names[3] = {"--alpha", "--beta", "--gamma"};
    const char* helps[3] = {"rotation about z, degrees (default 0)",
                            "rotation about the new y, degrees (default 0)",
                            "rotation about the newest z, degrees (default 0)"};
    for (std::size_t i = 0; i < 3; ++i)
        sub->add_option(names[i], options->angles[i], helps[i])->check(number_validator);
    sub->callback([&invocation, options] {
        invocation.command = options->forwards ? euler_forwards_command : euler_backwards_command;
    });
    invocation.configure.push_back([sub, options](cli_services& ui) {
        if (!sub->parsed()) return;
        euler_angles chosen;
        parse_number(options->angles[0], chosen.alpha);
        parse_number(options->angles[1], chosen.beta);
        parse_number(options->angles[2], chosen.gamma);
        ui.on_euler_rotations = [chosen](euler_angles& record) {
            record = chosen;
            return dialog_result::ok;
        };
    });
}

// --order for the two orthogonalisation subcommands; abc when not given.
void add_order_option(CLI::App* sub, cli_invocation& invocation) {
    auto order = std::make_shared<std::string>("abc");
    sub->add_option("--order", *order,
                    "the old axes (a, b, c) at the new positions X, Y, Z, as three letters; "
                    "default abc, so bac puts b at X and a at Y")
        ->check(order_validator);
    invocation.configure.push_back([sub, order](cli_services& ui) {
        if (!sub->parsed()) return;
        axis_order chosen;
        for (std::size_t p = 0; p < 3; ++p)
            chosen.row[p] = ((*order)[p] | 0x20) - 'a';  // either case
        ui.on_order_of_axes = [chosen](axis_order& record) {
            record = chosen;
            return dialog_result::ok;
        };
    });
}

void add_orthogonalize(CLI::App& app, cli_invocation& invocation) {
    CLI::App* axes = add_action_subcommand(
        app, invocation, "orthogonalize-axes",
        "replace three measured axis directions (atom lines) by an orthonormal right-handed "
        "set: Z kept, Y made perpendicular to it, X recomputed",
        orthogonalize_axes_command);
    add_order_option(axes, invocation);
    add_normalize_option(*axes, invocation);

    CLI::App* coordinates = add_action_subcommand(
        app, invocation, "orthogonalize-coordinates",
        "turn fractional coordinates and their unit cell (first line) into Cartesian "
        "coordinates",
        orthogonalize_coordinates_command);
    add_order_option(coordinates, invocation);
}

void add_normal_and_polar(CLI::App& app, cli_invocation& invocation) {
    CLI::App* normal =
        add_action_subcommand(app, invocation, "normal",
                              "normal of the plane through the first three atoms of Cartesian data",
                              calculate_normal_command);
    run_instead(normal, invocation, calculate_normal_command, [](cli_invocation& inv) {
        return run_cartesian_action(inv, calculate_normal_command);
    });
    CLI::App* polar = add_action_subcommand(
        app, invocation, "polar",
        "every atom of Cartesian data in polar coordinates: azimuth phi, polar angle theta "
        "(degrees) and distance r",
        polar_angles_command);
    run_instead(polar, invocation, polar_angles_command, [](cli_invocation& inv) {
        return run_cartesian_action(inv, polar_angles_command);
    });
}

}  // namespace

void add_axes_commands(CLI::App& app, cli_invocation& invocation) {
    add_euler_angles(app, invocation);
    add_rotate(app, invocation);
    add_orthogonalize(app, invocation);
    add_normal_and_polar(app, invocation);
}

}  // namespace orvix

// orvix-cli subcommands of the axis-system actions: euler-angles, rotate,
// orthogonalize-axes, orthogonalize-coordinates, normal and polar.
//
// Calculate Euler angles has no result file: its result is the clipboard text, which the
// common runner writes to standard output or -o as soon as the action sets it. Calculate normal and
// Polar angles end silently in the desktop program when the cell line is missing or not Cartesian;
// on the command line they run in a mode that explains that end, and the command fails.
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/action_table.h"
#include "app/messages.h"
#include "axes/axes_actions.h"
#include "cli/cli_app.h"
#include "platform/files.h"
#include "platform/scan.h"

namespace orvix {

namespace {

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

// An angle is a finite number: "inf", "nan" or a number beyond the double range would turn
// every position into NaN, written as if it were a result.
const CLI::Validator angle_check(
    [](std::string& text) {
        const std::optional<double> value = parse_cli_number(text);
        if (!value) return "'" + text + "' is not a number";
        if (!std::isfinite(*value)) return "'" + text + "' is not a finite angle";
        return std::string();
    },
    "DEG");

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
    sub->callback([&invocation] {
        invocation.command = calculate_euler_command;
        invocation.clipboard_result = true;
    });
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
    // Two flags rather than an option group: CLI11 2.1 takes an empty argument for the
    // (empty) name of a group and then loops for ever over the arguments after it.
    CLI::Option* forwards =
        sub->add_flag("--forwards", options->forwards)
            ->description(
                "express positions given in the reference frame in the new frame "
                "(this or --backwards is required)");
    CLI::Option* backwards =
        sub->add_flag("--backwards", options->backwards)
            ->description("express positions given in the new frame in the reference frame");
    forwards->excludes(backwards);
    backwards->excludes(forwards);
    const char* names[3] = {"--alpha", "--beta", "--gamma"};
    const char* helps[3] = {"rotation about z, degrees (default 0)",
                            "rotation about the new y, degrees (default 0)",
                            "rotation about the newest z, degrees (default 0)"};
    for (std::size_t i = 0; i < 3; ++i)
        sub->add_option(names[i], options->angles[i], helps[i])->check(angle_check);
    sub->callback([&invocation, options] {
        if (!options->forwards && !options->backwards)
            throw CLI::RequiredError("--forwards or --backwards");
        invocation.command = options->forwards ? euler_forwards_command : euler_backwards_command;
    });
    invocation.configure.push_back([sub, options](cli_services& ui) {
        if (!sub->parsed()) return;
        euler_angles chosen;
        chosen.alpha = parse_cli_number(options->angles[0]).value_or(0.0);
        chosen.beta = parse_cli_number(options->angles[1]).value_or(0.0);
        chosen.gamma = parse_cli_number(options->angles[2]).value_or(0.0);
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

// The desktop program ends Calculate normal and Polar angles silently without a Cartesian
// cell; on the command line the action explains that end and the command fails.
void explain_silent_end_on_command_line(CLI::App* sub, cli_invocation& invocation, int command) {
    sub->callback([&invocation, command] {
        invocation.command = command;
        invocation.mode = explain_silent_end;
    });
}

void add_normal_and_polar(CLI::App& app, cli_invocation& invocation) {
    CLI::App* normal =
        add_action_subcommand(app, invocation, "normal",
                              "normal of the plane through the first three atoms of Cartesian data",
                              calculate_normal_command);
    explain_silent_end_on_command_line(normal, invocation, calculate_normal_command);
    CLI::App* polar = add_action_subcommand(
        app, invocation, "polar",
        "every atom of Cartesian data in polar coordinates: azimuth phi, polar angle theta "
        "(degrees) and distance r",
        polar_angles_command);
    explain_silent_end_on_command_line(polar, invocation, polar_angles_command);
}

}  // namespace

void add_axes_commands(CLI::App& app, cli_invocation& invocation) {
    add_euler_angles(app, invocation);
    add_rotate(app, invocation);
    add_orthogonalize(app, invocation);
    add_normal_and_polar(app, invocation);
}

}  // namespace orvix

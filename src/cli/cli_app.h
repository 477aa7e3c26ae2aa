// The command-line program's skeleton: one subcommand per action, each with INPUT and -o,
// plus the options that answer the action's dialogs.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_services.h"

namespace orvix {

// What the parsed command line asks for.
struct cli_invocation {
    int command = 0;     // the action to run
    std::string input;   // crystal data file; empty or "-" reads standard input
    std::string output;  // result file; empty writes standard output
    // Sets the services' dialog handlers and answers from the subcommand's options.
    std::vector<std::function<void(cli_services&)>> configure;
    // Runs instead of an action (for subcommands that only print, such as a table).
    std::function<int()> run_instead;
};

// Adds a subcommand that runs the action of `command` with the common INPUT and -o.
CLI::App* add_action_subcommand(CLI::App& app, cli_invocation& invocation, const std::string& name,
                                const std::string& description, int command);

// The two answers shared by the actions that check axis systems.
void add_normalize_option(CLI::App& sub, cli_invocation& invocation);
void add_invert_option(CLI::App& sub, cli_invocation& invocation);

// Each feature registers its subcommands here.
void add_internal_commands(CLI::App& app, cli_invocation& invocation);

// Parses the arguments and runs; the process's exit status.
int run_cli(int argc, char** argv);

}  // namespace orvix

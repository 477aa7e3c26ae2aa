// The command-line program's skeleton: one subcommand per action, each with INPUT and -o,
// plus the options that answer the action's dialogs.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_services.h"

namespace orvix {

// The steps that set the services' answers from the options. Each step belongs to the
// subcommand registered last before it, and runs only when that subcommand was given, so
// that one subcommand's defaults never answer another's dialogs.
class configure_steps {
public:
    using step = std::function<void(cli_services&)>;
    void push_back(step s) { steps_.push_back({owner, std::move(s)}); }
    void run(cli_services& ui) const {
        for (const auto& [step_owner, s] : steps_)
            if (step_owner == nullptr || step_owner->parsed()) s(ui);
    }
    // The subcommand that steps pushed from now on belong to.
    const CLI::App* owner = nullptr;

private:
    std::vector<std::pair<const CLI::App*, step>> steps_;
};

// What the parsed command line asks for.
struct cli_invocation {
    int command = 0;     // the action to run
    std::string input;   // crystal data file; empty or "-" reads standard input
    std::string output;  // result file; empty writes standard output
    // Sets the services' dialog handlers and answers from the subcommand's options.
    configure_steps configure;
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

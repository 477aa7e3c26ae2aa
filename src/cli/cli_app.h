// The command-line program's skeleton: one subcommand per action, each with INPUT and -o,
// plus the options that answer the action's dialogs.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
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
    std::string output;  // result file; empty or "-" writes standard output
    // Sets the services' dialog handlers and answers from the subcommand's options.
    configure_steps configure;
    // The mode handed to the action, when the subcommand's differs from the menu's.
    std::optional<int> mode;
    // The action writes no result file; its result is the clipboard text, written with a
    // line end to -o FILE or standard output when the action sets it (its input still held).
    bool clipboard_result = false;
    // Runs instead of an action (for subcommands that only print, such as a table).
    std::function<int()> run_instead;
};

// A whole argument read as one locale-free number (blanks around it allowed), or nothing.
std::optional<double> parse_cli_number(const std::string& text);

// Accepts what parse_cli_number reads; for options that take a number.
extern const CLI::Validator number_check;

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

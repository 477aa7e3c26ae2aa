// The one table of actions: command number, mode, command-line name and action function.
// The desktop program's dispatcher and orvix-cli both run actions from it.
#pragma once

#include <span>
#include <string_view>

#include "app/action_protocol.h"

namespace orvix {

using action_function = action_result (*)(action_context&);

struct action_entry {
    int command;                // menu command number
    int mode;                   // handed to the action in its context
    std::string_view cli_name;  // orvix-cli subcommand that runs it
    action_function run;
};

std::span<const action_entry> action_table();

// The entry of a command number, or null for a command without an action.
const action_entry* find_action(int command);

// Runs an action so that nothing escapes it: a write failure, a numeric failure or missing
// memory ends the action with its message, and the action's files are released on the way.
action_result run_action(const action_entry& entry, services& ui, document_state& doc);

}  // namespace orvix

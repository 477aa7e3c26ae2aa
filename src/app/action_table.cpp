// The table of actions: one row per command that runs an action.
#include "app/action_table.h"

#include "app/echo_action.h"
#include "generate/generate_actions.h"

namespace orvix {

namespace {

const action_entry table[] = {
    {echo_command, 0, "echo-atoms", &echo_atoms},
    {generate_positions_command, 0, "generate-positions", &generate_positions},
    {generate_block_command, 0, "generate-block", &generate_block},
};

}  // namespace

std::span<const action_entry> action_table() { return table; }

}  // namespace orvix

// The table of actions: one row per command that runs an action.
#include "app/action_table.h"

#include "app/echo_action.h"
#include "dipolar/dipolar_action.h"
#include "tensor/diagonalise_action.h"

namespace orvix {

namespace {

const action_entry table[] = {
    {echo_command, 0, "echo-atoms", &echo_atoms},
    {dipolar_command, 0, "dipolar", &dipolar_moment},
    // orvix-cli runs both orders from one subcommand, "diagonalise [--ascending]".
    {diagonalise_descending_command, diagonalise_descending_mode, "diagonalise",
     &diagonalise_tensor},
    {diagonalise_ascending_command, diagonalise_ascending_mode, "diagonalise", &diagonalise_tensor},
};

}  // namespace

std::span<const action_entry> action_table() {
    return table;
}

}  // namespace orvix

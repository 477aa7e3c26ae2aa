// orvix-cli: the two Diagonalise commands as one subcommand, "diagonalise", whose order is
// chosen by --descending (the default) or --ascending.
#include "cli/cli_app.h"
#include "tensor/diagonalise_action.h"

namespace orvix {

void add_tensor_commands(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "diagonalise",
        "diagonalise a second-rank tensor given as nine numbers: principal components, "
        "right-handed principal axes and the tensor report",
        diagonalise_descending_command);
    CLI::Option* descending =
        sub->add_flag("--descending")
            ->description("principal components in the order d11 >= d22 >= d33 (the default)");
    CLI::Option* ascending =
        sub->add_flag("--ascending")
            ->description("principal components in the order s11 <= s22 <= s33");
    descending->excludes(ascending);
    ascending->excludes(descending);
    // The order is the choice between the two menu commands, so it picks the command.
    sub->callback([&invocation, ascending] {
        invocation.command =
            ascending->count() > 0 ? diagonalise_ascending_command : diagonalise_descending_command;
    });
}

}  // namespace orvix

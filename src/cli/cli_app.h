// orvix-cli: one subcommand per row of the command table that has a command-line name, each
// with INPUT and -o, plus the options that answer the command's dialogs.
#pragma once

namespace orvix {

// Parses the arguments and runs; the process's exit status.
int run_cli(int argc, char** argv);

}  // namespace orvix

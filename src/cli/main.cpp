// orvix-cli entry point.
#include "cli/cli_app.h"

int main(int argc, char** argv) {
    return orvix::run_cli(argc, argv);
}

// orvix-cli import: a CIF or .magres file into crystal data text. It is no action (it reads
// no crystal data and needs no editor), so it runs in place of one: the input is read whole
// and held until the result is written, and nothing is written unless the import succeeded.
#include <cstdio>
#include <memory>

#include "app/messages.h"
#include "cli/cli_app.h"
#include "structure/import.h"

namespace orvix {

namespace {

struct import_command {
    std::string input;
    std::string output;
    std::string format;
    std::string tensors;
    import_options options;
};

std::string read_standard_input_whole() {
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, got);
    return text;
}

int run_import(import_command& c) {
    if (c.format == "cif") c.options.format = structure_format::cif;
    if (c.format == "magres") c.options.format = structure_format::magres;
    if (c.tensors == "ms") c.options.tensors = tensor_kind::ms;
    if (c.tensors == "efg") c.options.tensors = tensor_kind::efg;

    // Held open until the result is written: a result file that is the input is refused
    // by the no-sharing rule instead of emptied.
    std::optional<exclusive_file> input;
    std::optional<std::string> bytes;
    std::string source_name = c.input;
    if (c.input == "-") {
        source_name = "standard input";
        bytes = read_standard_input_whole();
    } else {
        input = exclusive_file::open_existing(c.input, exclusive_file::access::read);
        if (input) bytes = read_whole_file(*input);
    }
    if (!bytes) {
        print_cli_message(msg::could_not_read_file, c.input);
        return 1;
    }
    const import_result result = import_structure(*bytes, source_name, c.options);
    if (!result.ok) {
        print_cli_message(result.error, "");
        return 1;
    }
    if (!result.warning.empty()) print_cli_message(result.warning, "");

    if (c.output.empty()) {
        if (std::fwrite(result.text.data(), 1, result.text.size(), stdout) == result.text.size() &&
            std::fflush(stdout) == 0)
            return 0;
        print_cli_message(msg::error_writing_file, "standard output");
        return 1;
    }
    auto file = exclusive_file::create(c.output);
    if (!file) {
        print_cli_message(msg::error_creating_file, c.output);
        return 1;
    }
    try {
        file->write(result.text);
        file->close();
    } catch (const write_failure&) {
        print_cli_message(msg::error_writing_file, c.output);
        return 1;
    }
    return 0;
}

}  // namespace

void add_structure_commands(CLI::App& app, cli_invocation& invocation) {
    auto c = std::make_shared<import_command>();
    CLI::App* sub = app.add_subcommand(
        "import",
        "read a CIF or .magres file into crystal data: the cell line, a comment line, one atom "
        "line per atom of the cell (fractional coordinates)");
    sub->add_option("INPUT", c->input, "CIF or .magres file; '-' reads standard input")->required();
    sub->add_option("-o,--output", c->output,
                    "result file, written only when the import succeeded; without it the "
                    "result goes to standard output");
    sub->add_option("--format", c->format,
                    "read the input as this format instead of recognising it from its content")
        ->check(CLI::IsMember({"cif", "magres"}));
    sub->add_flag("--asymmetric-unit", c->options.asymmetric_unit,
                  "CIF: the sites as listed, without their symmetry copies");
    sub->add_flag("--cartesian", c->options.cartesian,
                  "Cartesian cell line 1 1 1 90 90 90 and Cartesian coordinates in Angstrom, "
                  "oriented as Orthogonalize > Coordinates orients them (c along z)");
    sub->add_option("--tensors", c->tensors,
                    ".magres: tensor lines (label and nine elements) of the magnetic shielding "
                    "(ms, ppm) or the electric field gradient (efg, atomic units) instead of "
                    "atom lines")
        ->check(CLI::IsMember({"ms", "efg"}));
    sub->add_option("--block", c->options.block,
                    "CIF: the data block to read (default: the first that has atoms)");
    sub->callback([&invocation, c] { invocation.run_instead = [c] { return run_import(*c); }; });
}

}  // namespace orvix

// The options of every orvix-cli subcommand and how they answer the command's dialogs.
#include "commands/command_options.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "generate/symmetry_text.h"
#include "platform/c_format.h"
#include "platform/scan.h"
#include "structure/import.h"
#include "tensor/tensor_parameters.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {

namespace {

const CLI::Validator number_check(
    [](std::string& text) {
        return parse_cli_number(text) ? std::string() : "'" + text + "' is not a number";
    },
    "");

// An angle is a finite number: "inf", "nan" or a number beyond the double range would turn
// every position into NaN, written as if it were a result.
const CLI::Validator angle_check(
    [](std::string& text) {
        const std::optional<double> value = parse_cli_number(text);
        if (!value) return "'" + text + "' is not a number";
        if (!std::isfinite(*value)) return "'" + text + "' is not a finite angle";
        return std::string();
    },
    "DEG");

// Three letters a, b, c in any mix: the old axes chosen in the rows X, Y and Z. Whether
// each axis is chosen once is the action's own check, as in the dialog.
const CLI::Validator order_validator(
    [](std::string& text) {
        if (text.size() != 3) return std::string("an order is three letters a, b or c");
        for (char c : text)
            if (c != 'a' && c != 'b' && c != 'c' && c != 'A' && c != 'B' && c != 'C')
                return std::string("an order is three letters a, b or c");
        return std::string();
    },
    "XYZ");

const CLI::Validator nucleus_check(
    [](std::string& text) {
        return find_nucleus_position(text)
                   ? std::string()
                   : "no nucleus '" + text + "' (see orvix-cli nuclei for the list)";
    },
    "");

// A number option kept as text until the subcommand is complete (checked while parsing).
std::optional<double> number_of(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return parse_cli_number(text);
}

void add_normalize_option(CLI::App& sub, command_line_answers& answers) {
    sub.add_flag("--normalize", answers.normalize,
                 "answer OK to the question whether to normalise direction cosines that are not "
                 "unit vectors");
}

// The question before a result of more than 100 million lines is answered OK unless
// --refuse-large is given: whoever types -n 50 on a command line asked for it, and scripts
// must not stop at a question nobody can answer.
void add_large_result_option(CLI::App& sub, command_line_answers& answers) {
    sub.add_flag("--refuse-large", answers.refuse_large,
                 "answer Cancel to the question asked before a result of more than 100000000 "
                 "lines (by default it is answered OK and the result is written)");
}

// --order for the two orthogonalisation subcommands; abc when not given.
void add_order_option(CLI::App& sub, command_line_answers& answers) {
    auto order = std::make_shared<std::string>("abc");
    sub.add_option("--order", *order,
                   "the old axes (a, b, c) at the new positions X, Y, Z, as three letters; "
                   "default abc, so bac puts b at X and a at Y")
        ->check(order_validator);
    sub.callback([order, &answers] {
        axis_order chosen;
        for (std::size_t p = 0; p < 3; ++p)
            chosen.row[p] = ((*order)[p] | 0x20) - 'a';  // either case
        answers.order = chosen;
    });
}

int print_nuclei_table() {
    std::string text =
        "number\tnucleus\tspin\tgamma (10^7 rad s^-1 T^-1)\tabundance (%)\tQ (fm^2)\n";
    int number = 1;
    for (const nucleus& n : nuclei_table()) {
        c_format_append(text, "%d\t%.*s\t%.1f\t%.10g\t%.10g\t%.10g\n", number++,
                        static_cast<int>(n.label.size()), n.label.data(), n.spin, n.gamma,
                        n.abundance, n.quadrupole_moment);
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

struct import_command {
    std::string input;
    std::string output;
    std::string format;
    std::string tensors;
    import_options options;
};

int run_import(import_command& c) {
    if (c.format == "cif") c.options.format = structure_format::cif;
    if (c.format == "magres") c.options.format = structure_format::magres;
    if (c.tensors == "ms") c.options.tensors = magres_tensors::ms;
    if (c.tensors == "efg") c.options.tensors = magres_tensors::efg;

    // Held open until the result is written: a result file that is the input is refused
    // by the no-sharing rule instead of emptied.
    std::optional<exclusive_file> input;
    std::optional<std::string> bytes;
    std::string source_name = c.input;
    if (c.input == "-") {
        source_name = "standard input";
        bytes = read_standard_input();
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

namespace {

// Appends the text with each line break (the error report joins two messages with one) as a
// single blank, so that one message stays one line for whoever reads standard error.
void append_on_one_line(std::string& line, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            line.push_back(' ');
        } else {
            line.push_back(text[i]);
        }
    }
}

}  // namespace

std::string read_standard_input() {
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, got);
    return text;
}

void print_cli_message(std::string_view text, std::string_view caption) {
    std::string line = "orvix-cli: ";
    append_on_one_line(line, text);
    if (!caption.empty() && caption != msg::program_name) {
        line.append(" (");
        append_on_one_line(line, caption);
        line.append(")");
    }
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
}

namespace {

// The answers to the "Tensor Parameters" dialog as given on the command line.
struct tensor_parameters_options_text {
    std::string kind = "shielding";
    std::string reference;
    std::string nucleus;
    CLI::Option* csv = nullptr;
};

// The combinations the dialog would not let through, refused as usage errors.
void check_tensor_parameters_options(const tensor_parameters_options_text& o) {
    if (!o.reference.empty()) {
        if (o.kind != "shielding")
            throw CLI::ValidationError("--reference",
                                       "a reference shielding applies to --kind shielding only");
        if (!reference_is_usable(*parse_cli_number(o.reference)))
            throw CLI::ValidationError("--reference",
                                       "the reference shielding must be a finite number below "
                                       "1000000 ppm");
    }
    if (o.kind != "efg") {
        if (!o.nucleus.empty())
            throw CLI::ValidationError("--nucleus", "a nucleus applies to --kind efg only");
        return;
    }
    if (o.nucleus.empty())
        throw CLI::ValidationError(
            "--nucleus", "--kind efg needs --nucleus NUC, a quadrupolar nucleus such as 27Al");
    if (!is_quadrupolar_nucleus(*find_nucleus_position(o.nucleus)))
        throw CLI::ValidationError("--nucleus", "'" + o.nucleus +
                                                    "' has spin 1/2 and no quadrupole moment; "
                                                    "--kind efg needs a spin of 1 or more");
}

}  // namespace

std::optional<double> parse_cli_number(const std::string& text) {
    std::string_view rest(text);
    double value = 0;
    if (!scan_double(rest, value)) return std::nullopt;
    while (!rest.empty() && is_c_space(rest.front())) rest.remove_prefix(1);
    if (!rest.empty()) return std::nullopt;
    return value;
}

void apply_dipolar_answers(const dipolar_answers& given, dipolar_parameters& record) {
    if (given.observed) select_observed_nucleus(record, *given.observed);
    if (given.coupled) select_coupled_nucleus(record, *given.coupled);
    if (given.abundance) record.abundance = *given.abundance;
    if (given.moment_type) record.moment_type = *given.moment_type;
    if (given.alpha) record.alpha = *given.alpha;
    if (given.beta) record.beta = *given.beta;
    if (given.gamma_start) record.gamma_start = *given.gamma_start;
    if (given.gamma_increment) record.gamma_increment = *given.gamma_increment;
    if (given.gamma_end) record.gamma_end = *given.gamma_end;
    if (given.phase) record.phase = *given.phase;
    if (given.rotation_sense) record.rotation_sense = *given.rotation_sense;
    if (given.cutoff) record.cutoff = *given.cutoff;
}

void add_generate_positions_options(CLI::App& sub, command_line_answers& answers) {
    auto texts = std::make_shared<std::vector<std::string>>();
    const CLI::Validator operation_check(
        [](std::string& text) {
            symmetry_operation parsed;
            std::string error;
            return parse_symmetry_operation(text, parsed, error) ? std::string() : error;
        },
        "OP", "symmetry operation");
    sub.add_option("--op", *texts,
                   "a symmetry operation: three comma-separated terms for the new X, Y and Z, "
                   "each one old coordinate with an optional factor and shift, e.g. "
                   "--op=x,y,z --op=-x,y+1/2,-z+1/2 (write --op=OP when OP begins with '-'); "
                   "repeat for every operation, applied in the order given")
        ->required()
        ->allow_extra_args(false)
        ->check(operation_check);
    add_large_result_option(sub, answers);
    sub.callback([texts, &answers] {
        for (const auto& text : *texts) {
            symmetry_operation parsed;
            std::string error;
            parse_symmetry_operation(text, parsed, error);  // checked while parsing options
            answers.operations.push_back(parsed);
        }
    });
}

void add_generate_block_options(CLI::App& sub, command_line_answers& answers) {
    auto n = std::make_shared<std::int32_t>(1);
    sub.add_option("-n", *n,
                   "largest multiple n of a cell edge: translations from -n to n along a, b and "
                   "c (a 32-bit whole number; 0 or less writes the atoms only)")
        ->capture_default_str();
    add_large_result_option(sub, answers);
    sub.callback([n, &answers] { answers.block_n = *n; });
}

void add_cluster_options(CLI::App& sub, command_line_answers& answers) {
    auto site = std::make_shared<std::string>();
    auto radius = std::make_shared<std::string>("10");
    sub.add_option("--site", *site, "label of the atom at the centre (its first atom line)")
        ->required()
        ->type_name("LABEL");
    sub.add_option("--radius", *radius, "radius in Angstrom (default 10)")
        ->check(number_check)
        ->type_name("ANGSTROM");
    add_large_result_option(sub, answers);
    sub.callback([site, radius, &answers] {
        cluster_record chosen;
        chosen.site = *site;
        chosen.radius = *parse_cli_number(*radius);  // checked while parsing options
        answers.cluster = chosen;
    });
}

void add_order_options(CLI::App& sub, command_line_answers& answers) {
    add_order_option(sub, answers);
}

void add_orthogonalize_axes_options(CLI::App& sub, command_line_answers& answers) {
    add_order_option(sub, answers);
    add_normalize_option(sub, answers);
}

// The desktop program ends Calculate normal and Polar angles silently without a Cartesian
// cell; on the command line the action explains that end and the command fails.
void add_explained_end_options(CLI::App& sub, command_line_answers& answers) {
    sub.callback([&answers] { answers.mode = explain_silent_end; });
}

void add_euler_angles_options(CLI::App& sub, command_line_answers& answers) {
    add_normalize_option(sub, answers);
    auto axis = std::make_shared<std::string>();
    sub.add_option("--invert", *axis,
                   "answer the Axis Inversion dialog of a left-handed axis system by inverting "
                   "this axis")
        ->check(CLI::IsMember({"x", "y", "z"}, CLI::ignore_case));
    sub.callback([axis, &answers] {
        // Calculate Euler angles has no result file: its result is the clipboard text.
        answers.clipboard_result = true;
        if (!axis->empty()) answers.invert_axis = ((*axis)[0] | 0x20) - 'x';
    });
}

void add_rotate_options(CLI::App& sub, command_line_answers& answers) {
    struct rotate_options {
        bool forwards = false;
        bool backwards = false;
        std::array<std::string, 3> angles = {"0", "0", "0"};
    };
    auto options = std::make_shared<rotate_options>();
    // Two flags rather than an option group: CLI11 2.1 takes an empty argument for the
    // (empty) name of a group and then loops for ever over the arguments after it.
    CLI::Option* forwards =
        sub.add_flag("--forwards", options->forwards)
            ->description(
                "express positions given in the reference frame in the new frame "
                "(this or --backwards is required)");
    CLI::Option* backwards =
        sub.add_flag("--backwards", options->backwards)
            ->description("express positions given in the new frame in the reference frame");
    forwards->excludes(backwards);
    backwards->excludes(forwards);
    const char* names[3] = {"--alpha", "--beta", "--gamma"};
    const char* helps[3] = {"rotation about z, degrees (default 0)",
                            "rotation about the new y, degrees (default 0)",
                            "rotation about the newest z, degrees (default 0)"};
    for (std::size_t i = 0; i < 3; ++i)
        sub.add_option(names[i], options->angles[i], helps[i])->check(angle_check);
    sub.callback([options, &answers] {
        if (!options->forwards && !options->backwards)
            throw CLI::RequiredError("--forwards or --backwards");
        answers.command = options->forwards ? cmd::euler_forwards : cmd::euler_backwards;
        euler_angles chosen;
        chosen.alpha = parse_cli_number(options->angles[0]).value_or(0.0);
        chosen.beta = parse_cli_number(options->angles[1]).value_or(0.0);
        chosen.gamma = parse_cli_number(options->angles[2]).value_or(0.0);
        answers.rotation = chosen;
    });
}

void add_dipolar_options(CLI::App& sub, command_line_answers& answers) {
    struct dipolar_texts {
        std::string observed, coupled, abundance, alpha, beta, gamma_start, gamma_increment,
            gamma_end, phase, sense, cutoff;
        CLI::Option* powder = nullptr;
        CLI::Option* single_crystal = nullptr;
    };
    auto o = std::make_shared<dipolar_texts>();
    sub.add_option("--observed", o->observed,
                   "observed nucleus: a label such as 1H or 27Al, or its number in "
                   "'orvix-cli nuclei' (default: 1H)")
        ->check(nucleus_check)
        ->type_name("NUC");
    sub.add_option("--coupled", o->coupled, "coupled nucleus, given the same way (default: 1H)")
        ->check(nucleus_check)
        ->type_name("NUC");
    sub.add_option("--abundance", o->abundance,
                   "natural abundance of the coupled nucleus in percent (default: that of "
                   "the --coupled nucleus, else 100)")
        ->check(number_check)
        ->type_name("PERCENT");
    o->powder = sub.add_flag("--powder")->description("compute the powder sum");
    o->single_crystal = sub.add_flag("--single-crystal")
                            ->description("compute the single-crystal rotation pattern (default)");
    o->powder->excludes(o->single_crystal);
    const struct {
        const char* name;
        std::string dipolar_texts::*member;
        const char* description;
    } angles[] = {
        {"--alpha", &dipolar_texts::alpha, "azimuth of the rotation axis, degrees (default 0)"},
        {"--beta", &dipolar_texts::beta, "polar angle of the rotation axis, degrees (default 90)"},
        {"--gamma-start", &dipolar_texts::gamma_start, "first rotation angle, degrees (default 0)"},
        {"--gamma-increment", &dipolar_texts::gamma_increment,
         "step of the rotation angle, degrees, greater than 0 (default 1)"},
        {"--gamma-end", &dipolar_texts::gamma_end, "last rotation angle, degrees (default 180)"},
        {"--phase", &dipolar_texts::phase,
         "phase angle added to every rotation angle, degrees (default 0)"},
    };
    for (const auto& angle : angles)
        sub.add_option(angle.name, (*o).*(angle.member), angle.description)
            ->check(number_check)
            ->type_name("DEG");
    sub.add_option("--sense", o->sense,
                   "sense of rotation: clockwise (single-crystal NMR, default) or anticlockwise")
        ->check(CLI::IsMember({"clockwise", "anticlockwise"}, CLI::ignore_case))
        ->type_name("SENSE");
    sub.add_option("--cutoff", o->cutoff,
                   "cut-off distance in Angstrom; neighbours farther away are left out "
                   "(default 1000)")
        ->check(number_check)
        ->type_name("ANGSTROM");
    sub.callback([o, &answers] {
        dipolar_answers given;
        if (!o->observed.empty()) given.observed = *find_nucleus_position(o->observed);
        if (!o->coupled.empty()) given.coupled = *find_nucleus_position(o->coupled);
        given.abundance = number_of(o->abundance);
        if (o->powder->count() > 0) given.moment_type = 0;
        if (o->single_crystal->count() > 0) given.moment_type = 1;
        given.alpha = number_of(o->alpha);
        given.beta = number_of(o->beta);
        given.gamma_start = number_of(o->gamma_start);
        given.gamma_increment = number_of(o->gamma_increment);
        given.gamma_end = number_of(o->gamma_end);
        given.phase = number_of(o->phase);
        if (!o->sense.empty()) given.rotation_sense = (o->sense[0] | 0x20) == 'a' ? 1 : 0;
        given.cutoff = number_of(o->cutoff);
        answers.dipolar = given;
    });
}

void add_diagonalise_options(CLI::App& sub, command_line_answers& answers) {
    CLI::Option* descending =
        sub.add_flag("--descending")
            ->description("principal components in the order d11 >= d22 >= d33 (the default)");
    CLI::Option* ascending =
        sub.add_flag("--ascending")
            ->description("principal components in the order s11 <= s22 <= s33");
    descending->excludes(ascending);
    ascending->excludes(descending);
    // The order is the choice between the two menu commands, so it picks the command.
    sub.callback([ascending, &answers] {
        answers.command =
            ascending->count() > 0 ? cmd::diagonalise_ascending : cmd::diagonalise_descending;
    });
}

void add_nuclei_options(CLI::App& sub, command_line_answers& answers) {
    sub.callback([&answers] { answers.run_instead = print_nuclei_table; });
}

void add_import_options(CLI::App& sub_app, command_line_answers& answers) {
    auto c = std::make_shared<import_command>();
    CLI::App* sub = &sub_app;
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
    sub->callback([&answers, c] { answers.run_instead = [c] { return run_import(*c); }; });
}

void add_tensor_parameters_options(CLI::App& sub_app, command_line_answers& answers) {
    CLI::App* sub = &sub_app;
    auto o = std::make_shared<tensor_parameters_options_text>();
    sub->add_option("--kind", o->kind,
                    "what the tensors are: shielding (ppm, the default), shift (ppm) or efg "
                    "(atomic units)")
        ->check(CLI::IsMember({"shielding", "shift", "efg"}))
        ->type_name("KIND");
    sub->add_option("--reference", o->reference,
                    "reference shielding in ppm: also report the shifts (--kind shielding only)")
        ->check(number_check)
        ->type_name("PPM");
    sub->add_option("--nucleus", o->nucleus,
                    "the quadrupolar nucleus of the EFG tensors, a label such as 27Al or 17O "
                    "(--kind efg only)")
        ->check(CLI::Validator(
            [](std::string& text) {
                return find_nucleus_position(text)
                           ? std::string()
                           : "no nucleus '" + text + "' (see orvix-cli nuclei for the list)";
            },
            ""))
        ->type_name("NUC");
    o->csv = sub->add_flag("--csv")->description(
        "write a CSV table (a header row and one row per tensor) instead of the report");
    sub->callback([&answers, o] {
        check_tensor_parameters_options(*o);
        tensor_parameters_record record;
        record.kind = o->kind == "shift" ? 1 : o->kind == "efg" ? 2 : 0;
        record.has_reference = !o->reference.empty();
        if (record.has_reference) record.reference = *parse_cli_number(o->reference);
        if (!o->nucleus.empty()) record.nucleus = *find_nucleus_position(o->nucleus);
        record.csv = o->csv->count() > 0;
        answers.tensor_parameters = record;
    });
}

}  // namespace orvix

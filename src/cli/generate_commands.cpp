// orvix-cli subcommands of the Generate menu: generate-positions (one --op per Symmetry
// Operations dialog), generate-block (-n for the Generate Block dialog) and cluster (--site
// and --radius for the Cluster around an Atom dialog).
#include <memory>
#include <string>
#include <vector>

#include "app/messages.h"
#include "cli/cli_app.h"
#include "generate/cluster_action.h"
#include "generate/generate_actions.h"
#include "generate/symmetry_text.h"

namespace orvix {

namespace {

// The question before a result of more than 100 million lines is answered OK unless
// --refuse-large is given: whoever types -n 50 on a command line asked for it, and scripts
// must not stop at a question nobody can answer.
void add_large_result_option(CLI::App& sub, cli_invocation& invocation) {
    CLI::Option* refuse =
        sub.add_flag("--refuse-large")
            ->description(
                "answer Cancel to the question asked before a result of more than 100000000 lines "
                "(by default it is answered OK and the result is written)");
    invocation.configure.push_back([&sub, refuse](cli_services& ui) {
        // Every subcommand's configuration runs; only the one given may answer. Refused, the
        // question stays unanswered: it is printed and answered Cancel like any other.
        if (!sub.parsed() || refuse->count() > 0) return;
        ui.answers_by_prefix.emplace_back(std::string(msg::large_result_prefix), answer::ok);
    });
}

void add_generate_positions(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "generate-positions",
        "write the images of every atom under symmetry operations (Generate > Positions)",
        generate_positions_command);
    auto texts = std::make_shared<std::vector<std::string>>();
    const CLI::Validator operation_check(
        [](std::string& text) {
            symmetry_operation parsed;
            std::string error;
            return parse_symmetry_operation(text, parsed, error) ? std::string() : error;
        },
        "OP", "symmetry operation");
    sub->add_option("--op", *texts,
                    "a symmetry operation: three comma-separated terms for the new X, Y and Z, "
                    "each one old coordinate with an optional factor and shift, e.g. "
                    "--op=x,y,z --op=-x,y+1/2,-z+1/2 (write --op=OP when OP begins with '-'); "
                    "repeat for every operation, applied in the order given")
        ->required()
        ->allow_extra_args(false)
        ->check(operation_check);
    add_large_result_option(*sub, invocation);
    invocation.configure.push_back([sub, texts](cli_services& ui) {
        if (!sub->parsed()) return;
        std::vector<symmetry_operation> operations;
        for (const auto& text : *texts) {
            symmetry_operation parsed;
            std::string error;
            parse_symmetry_operation(text, parsed, error);  // checked while parsing options
            operations.push_back(parsed);
        }
        // Answers dialog k with operation k; the first dialog also sets the count.
        ui.on_symmetry_operations = [operations](symmetry_operation& record) {
            const std::int64_t index = std::int64_t{record.current_position} - 1;
            if (index < 0 || index >= static_cast<std::int64_t>(operations.size()))
                return dialog_result::cancel;
            if (record.current_position == 1)
                record.position_count = static_cast<std::int32_t>(operations.size());
            const auto& chosen = operations[static_cast<std::size_t>(index)];
            record.factor = chosen.factor;
            record.shift = chosen.shift;
            record.source = chosen.source;
            return dialog_result::ok;
        };
    });
}

void add_generate_block(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "generate-block",
        "write the atoms and their copies in a block of (2n+1)^3 unit cells (Generate > Block)",
        generate_block_command);
    auto n = std::make_shared<std::int32_t>(1);
    sub->add_option("-n", *n,
                    "largest multiple n of a cell edge: translations from -n to n along a, b and "
                    "c (a 32-bit whole number; 0 or less writes the atoms only)")
        ->capture_default_str();
    add_large_result_option(*sub, invocation);
    invocation.configure.push_back([sub, n](cli_services& ui) {
        if (!sub->parsed()) return;
        const std::int32_t chosen = *n;
        ui.on_generate_block = [chosen](block_record& block) {
            block.n = chosen;
            return dialog_result::ok;
        };
    });
}

void add_cluster(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "cluster",
        "write the atoms within a radius of one atom, over every periodic image of the cell, "
        "in Cartesian Angstrom with that atom first (Generate > Cluster around an Atom)",
        generate_cluster_command);
    auto site = std::make_shared<std::string>();
    auto radius = std::make_shared<std::string>("10");
    sub->add_option("--site", *site, "label of the atom at the centre (its first atom line)")
        ->required()
        ->type_name("LABEL");
    sub->add_option("--radius", *radius, "radius in Angstrom (default 10)")
        ->check(number_check)
        ->type_name("ANGSTROM");
    add_large_result_option(*sub, invocation);
    invocation.configure.push_back([sub, site, radius](cli_services& ui) {
        if (!sub->parsed()) return;
        const std::string chosen = *site;
        const double r = *parse_cli_number(*radius);  // checked while parsing options
        ui.on_cluster = [chosen, r](cluster_record& record) {
            record.site = chosen;
            record.radius = r;
            return dialog_result::ok;
        };
    });
}

}  // namespace

void add_generate_commands(CLI::App& app, cli_invocation& invocation) {
    add_generate_positions(app, invocation);
    add_generate_block(app, invocation);
    add_cluster(app, invocation);
}

}  // namespace orvix

// orvix-cli: the dipolar second moment ("dipolar") and the nuclear data table ("nuclei").
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_app.h"
#include "dipolar/dipolar_action.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "platform/c_format.h"
#include "platform/scan.h"

namespace orvix {

namespace {

const CLI::Validator nucleus_check(
    [](std::string& text) {
        return find_nucleus_position(text)
                   ? std::string()
                   : "no nucleus '" + text + "' (see orvix-cli nuclei for the list)";
    },
    "");

// The dialog's answers as given on the command line; what is not given keeps the record's
// value, as an untouched dialog field would.
struct dipolar_options {
    std::string observed;
    std::string coupled;
    std::string abundance;
    std::string alpha;
    std::string beta;
    std::string gamma_start;
    std::string gamma_increment;
    std::string gamma_end;
    std::string phase;
    std::string sense;
    std::string cutoff;
    CLI::Option* powder = nullptr;
    CLI::Option* single_crystal = nullptr;
};

void set_number(const std::string& text, double& member) {
    if (!text.empty()) member = *parse_cli_number(text);
}

// Fills the record in the order a user would work through the dialog: a coupled nucleus
// brings its natural abundance, which a typed abundance then replaces.
void answer_dialog(const dipolar_options& o, dipolar_parameters& p) {
    if (!o.observed.empty()) select_observed_nucleus(p, *find_nucleus_position(o.observed));
    if (!o.coupled.empty()) select_coupled_nucleus(p, *find_nucleus_position(o.coupled));
    set_number(o.abundance, p.abundance);
    if (o.powder->count() > 0) p.moment_type = 0;
    if (o.single_crystal->count() > 0) p.moment_type = 1;
    set_number(o.alpha, p.alpha);
    set_number(o.beta, p.beta);
    set_number(o.gamma_start, p.gamma_start);
    set_number(o.gamma_increment, p.gamma_increment);
    set_number(o.gamma_end, p.gamma_end);
    set_number(o.phase, p.phase);
    if (!o.sense.empty()) p.rotation_sense = (o.sense[0] == 'a' || o.sense[0] == 'A') ? 1 : 0;
    set_number(o.cutoff, p.cutoff);
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

}  // namespace

void add_dipolar_commands(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "dipolar",
        "dipolar second moment of the first atom from its neighbours (Cartesian cell, Angstrom): "
        "powder sum or single-crystal rotation pattern",
        dipolar_command);
    auto o = std::make_shared<dipolar_options>();
    sub->add_option("--observed", o->observed,
                    "observed nucleus: a label such as 1H or 27Al, or its number in "
                    "'orvix-cli nuclei' (default: 1H)")
        ->check(nucleus_check)
        ->type_name("NUC");
    sub->add_option("--coupled", o->coupled, "coupled nucleus, given the same way (default: 1H)")
        ->check(nucleus_check)
        ->type_name("NUC");
    sub->add_option("--abundance", o->abundance,
                    "natural abundance of the coupled nucleus in percent (default: that of "
                    "the --coupled nucleus, else 100)")
        ->check(number_check)
        ->type_name("PERCENT");
    o->powder = sub->add_flag("--powder")->description("compute the powder sum");
    o->single_crystal = sub->add_flag("--single-crystal")
                            ->description("compute the single-crystal rotation pattern (default)");
    o->powder->excludes(o->single_crystal);
    const struct {
        const char* name;
        std::string dipolar_options::*member;
        const char* description;
    } angles[] = {
        {"--alpha", &dipolar_options::alpha, "azimuth of the rotation axis, degrees (default 0)"},
        {"--beta", &dipolar_options::beta,
         "polar angle of the rotation axis, degrees (default 90)"},
        {"--gamma-start", &dipolar_options::gamma_start,
         "first rotation angle, degrees (default 0)"},
        {"--gamma-increment", &dipolar_options::gamma_increment,
         "step of the rotation angle, degrees, greater than 0 (default 1)"},
        {"--gamma-end", &dipolar_options::gamma_end, "last rotation angle, degrees (default 180)"},
        {"--phase", &dipolar_options::phase,
         "phase angle added to every rotation angle, degrees (default 0)"},
    };
    for (const auto& angle : angles)
        sub->add_option(angle.name, (*o).*(angle.member), angle.description)
            ->check(number_check)
            ->type_name("DEG");
    sub->add_option("--sense", o->sense,
                    "sense of rotation: clockwise (single-crystal NMR, default) or anticlockwise")
        ->check(CLI::IsMember({"clockwise", "anticlockwise"}, CLI::ignore_case))
        ->type_name("SENSE");
    sub->add_option("--cutoff", o->cutoff,
                    "cut-off distance in Angstrom; neighbours farther away are left out "
                    "(default 1000)")
        ->check(number_check)
        ->type_name("ANGSTROM");
    invocation.configure.push_back([o](cli_services& ui) {
        ui.on_dipolar = [o](dipolar_parameters& parameters) {
            answer_dialog(*o, parameters);
            return dialog_result::ok;
        };
    });

    CLI::App* nuclei =
        app.add_subcommand("nuclei",
                           "list the nuclear data table: number, label, spin, gyromagnetic ratio "
                           "(10^7 rad s^-1 T^-1), natural abundance (%) and quadrupole moment "
                           "(fm^2)");
    nuclei->callback([&invocation] { invocation.run_instead = print_nuclei_table; });
}

}  // namespace orvix

// orvix-cli: the two Diagonalise commands as one subcommand, "diagonalise", whose order is
// chosen by --descending (the default) or --ascending; and "tensor-parameters".
#include <memory>
#include <string>

#include "cli/cli_app.h"
#include "dipolar/nuclei.h"
#include "tensor/diagonalise_action.h"
#include "tensor/tensor_parameters_action.h"

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

namespace orvix {

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

void add_tensor_parameters_commands(CLI::App& app, cli_invocation& invocation) {
    CLI::App* sub = add_action_subcommand(
        app, invocation, "tensor-parameters",
        "report every tensor line (LABEL and nine numbers) in the shielding, shift or "
        "quadrupolar conventions: Haeberlen, IUPAC, Herzfeld-Berger, C_Q, NQR lines",
        tensor_parameters_command);
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
    sub->callback([&invocation, o] {
        check_tensor_parameters_options(*o);
        invocation.command = tensor_parameters_command;
    });
    invocation.configure.push_back([o](cli_services& ui) {
        ui.on_tensor_parameters = [o](tensor_parameters_record& record) {
            record = tensor_parameters_record{};
            record.kind = o->kind == "shift" ? 1 : o->kind == "efg" ? 2 : 0;
            record.has_reference = !o->reference.empty();
            if (record.has_reference) record.reference = *parse_cli_number(o->reference);
            if (!o->nucleus.empty()) record.nucleus = *find_nucleus_position(o->nucleus);
            record.csv = o->csv->count() > 0;
            return dialog_result::ok;
        };
    });
}

}  // namespace orvix

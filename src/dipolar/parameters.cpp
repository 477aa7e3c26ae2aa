// The dipolar parameter record and its dialog rules.
#include "dipolar/parameters.h"

#include "dipolar/nuclei.h"

namespace orvix {

dipolar_parameters& dipolar_record() {
    static dipolar_parameters record;
    return record;
}

void select_observed_nucleus(dipolar_parameters& parameters, int position) {
    parameters.observed_nucleus = position;
}

void select_coupled_nucleus(dipolar_parameters& parameters, int position) {
    parameters.coupled_nucleus = position;
    parameters.abundance = nucleus_abundance(position + 1);
}

void finish_dipolar_dialog(dipolar_parameters& parameters) {
    parameters.gamma_observed = nucleus_gamma(parameters.observed_nucleus + 1);
    parameters.gamma_coupled = nucleus_gamma(parameters.coupled_nucleus + 1);
    parameters.spin_coupled = nucleus_spin(parameters.coupled_nucleus + 1);
}

dialog_result ask_dipolar_parameters(services& ui, dipolar_parameters& parameters) {
    const dialog_result result = ui.dipolar_dialog(parameters);
    finish_dipolar_dialog(parameters);
    return result;
}

}  // namespace orvix

// The dipolar parameter record of the running program and the rules of its dialog that do
// not depend on any toolkit: what a selection in either nucleus list changes, and what every
// closing of the dialog fetches from the nuclear data table.
#pragma once

#include "platform/dialog_records.h"
#include "platform/services.h"

namespace orvix {

// The one record for the whole run: each use of the dialog starts from the previous one's
// values, a cancelled use included.
dipolar_parameters& dipolar_record();

// A selection in the observed-nucleus list: only the position changes.
void select_observed_nucleus(dipolar_parameters& parameters, int position);

// A selection in the coupled-nucleus list: the position, and the natural abundance of that
// nucleus in place of whatever abundance was typed before.
void select_coupled_nucleus(dipolar_parameters& parameters, int position);

// The closing step, after OK and Cancel alike: the two gyromagnetic ratios and the coupled
// spin are fetched again for the selected positions, so they always match the lists.
void finish_dipolar_dialog(dipolar_parameters& parameters);

// Shows the dialog on the record and takes the closing step, whatever front end answered it.
dialog_result ask_dipolar_parameters(services& ui, dipolar_parameters& parameters);

}  // namespace orvix

// The Dipolar Moment action (NMR menu): input, result file, the "Dipolar Second
// Moment" dialog on the run's parameter record, then the powder sum or the single-crystal
// rotation pattern written as a plain report.
#pragma once

#include <string>

#include "actions/action_protocol.h"
#include "dipolar/moment.h"

namespace orvix {

action_result dipolar_moment(action_context& ctx);

// The utility library's error report: one error box, captioned with the program's name,
// whose text is message `first` and, on the next line, message `second`.
void show_error_messages(services& ui, int first, int second);

// Tells the user why a computation ended early: the failures 3 to 6 through show_error_messages
// with message 7, the refused increment in a box of its own. Nothing for ok and cancelled.
void report_dipolar_status(services& ui, dipolar_status status);

// The text show_error_messages shows for two message numbers.
std::string error_report_text(int first, int second);

}  // namespace orvix

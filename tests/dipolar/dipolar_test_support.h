// Helpers of the dipolar tests: parameters for a pair of nuclei, and running the powder sum
// or the rotation pattern on a crystal data text into a result file.
#pragma once

#include <string>
#include <vector>

#include "dipolar/moment.h"
#include "platform/dialog_records.h"

namespace orvix::test {

// The record's initial values with the two nuclei selected as the dialog would leave them
// (the coupled nucleus brings its natural abundance) and the closing step taken.
dipolar_parameters parameters_for(const std::string& observed, const std::string& coupled);

struct moment_run {
    dipolar_status status = dipolar_status::ok;
    std::string report;  // the result file's bytes
    double total = -1;   // powder total, when the sum ran to its end
};

// Reads `text` as the action input and runs the powder sum or the rotation pattern (by
// `parameters.moment_type`). `cancel_after` stops at that progress report.
moment_run run_moment(const std::string& text, const dipolar_parameters& parameters,
                      int cancel_after = -1);

// Lines of a report, each without its CR LF.
std::vector<std::string> report_lines(const std::string& report);

}  // namespace orvix::test

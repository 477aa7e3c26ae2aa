// The writers of the Tensor Parameters action: the report, whose every line is a comment line
// of the crystal data format (so that the report still reads as crystal data), and the CSV
// table. Each function returns whole lines ending in CR LF.
#pragma once

#include <string>

#include "tensor/tensor_parameters.h"

namespace orvix {

// The comment lines that open the report: kind, units and every convention used below.
std::string format_report_header(const tensor_parameters_options& options);

// One tensor: its label, the principal values with their axes, then the parameters.
std::string format_report_block(const tensor_parameters_options& options,
                                const tensor_result& result);

// The CSV header row, and one row per tensor ("%.6f" values, NQR lines "%.6g" joined by ';').
std::string format_csv_header(const tensor_parameters_options& options);
std::string format_csv_row(const tensor_parameters_options& options, const tensor_result& result);

}  // namespace orvix

// The Tensor Parameters command of the NMR menu: every tensor line of the input reported in
// the shielding, shift or quadrupolar conventions, as a report or a CSV table.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "actions/action_protocol.h"
#include "tensor/tensor_parameters.h"

namespace orvix {

// The refusals of a record that no dialog lets through but a script might hand in.
inline constexpr std::string_view no_quadrupolar_nucleus =
    "An EFG tensor needs a quadrupolar nucleus (spin 1 or more)!";
inline constexpr std::string_view reference_not_usable =
    "The reference shielding must be a finite number below 1000000 ppm!";

// The one record for the whole run: each use of the dialog starts from the last one's.
tensor_parameters_record& tensor_parameters_settings();

// True for a position of the nuclear data table whose nucleus has a spin of 1 or more (and
// so a quadrupole moment); the positions of all of them, in table order.
bool is_quadrupolar_nucleus(int position);
std::vector<int> quadrupolar_nucleus_positions();

// The options a record stands for, or the text of its refusal.
std::optional<tensor_parameters_options> options_from_record(const tensor_parameters_record& record,
                                                             std::string_view& refusal);

// Input, result file, the "Tensor Parameters" dialog, then the report (or CSV table) of every
// tensor line, comment lines copied in place. A record without its nucleus or reference, a
// text without tensor lines, or a tensor that is not finite is refused with a message and
// nothing written.
action_result tensor_parameters(action_context& ctx);

}  // namespace orvix

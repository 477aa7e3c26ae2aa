// The two actions of the Generate menu: Positions (images of every atom under symmetry
// operations entered one by one) and Block (copies translated by whole cell edges).
#pragma once

#include <cstdint>
#include <string>

#include "actions/action_protocol.h"
#include "generate/positions.h"

namespace orvix {

action_result generate_positions(action_context& ctx);
action_result generate_block(action_context& ctx);

// The question asked before writing more than large_result_lines lines.
std::string large_result_question(line_count lines);

// Asks before a result of more than large_result_lines lines; true to go on.
bool confirm_large_result(services& ui, line_count lines);

}  // namespace orvix

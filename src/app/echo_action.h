// An internal action that rewrites the input's cell line, atom lines and comment lines in
// the program's own formats; it exercises the action protocol end to end.
#pragma once

#include "app/action_protocol.h"

namespace orvix {

inline constexpr int echo_command = -1;  // no menu entry

action_result echo_atoms(action_context& ctx);

}  // namespace orvix

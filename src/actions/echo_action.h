// An internal action that rewrites the input's cell line, atom lines and comment lines in
// the program's own formats; it exercises the action protocol end to end.
#pragma once

#include "actions/action_protocol.h"

namespace orvix {

action_result echo_atoms(action_context& ctx);

}  // namespace orvix

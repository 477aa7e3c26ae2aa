// Runs an action so that nothing escapes it: a write or read failure, a numeric failure or
// missing memory ends the action with its message, and the action's files are released on
// the way out.
#pragma once

#include "actions/action_protocol.h"

namespace orvix {

action_result run_action(action_function run, int command, int mode, services& ui,
                         document_state& doc);

}  // namespace orvix

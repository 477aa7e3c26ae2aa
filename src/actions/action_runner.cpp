// Runs an action and turns whatever ends it early into the message the user sees.
#include <new>

#include "actions/action_runner.h"
#include "actions/messages.h"
#include "platform/errors.h"

namespace orvix {

action_result run_action(action_function run, int command, int mode, services& ui,
                         document_state& doc) {
    action_context ctx{ui, doc, mode, command, doc.current_name};
    try {
        return run(ctx);
    } catch (const write_failure& failure) {
        ui.message(msg::error_writing_file, failure.path(), message_icon::error,
                   message_buttons::ok);
    } catch (const action_abort& abort) {
        ui.message(abort.what(), msg::program_name, message_icon::error, message_buttons::ok);
    } catch (const std::bad_alloc&) {
        ui.message(msg::not_enough_memory, msg::program_name, message_icon::error,
                   message_buttons::ok);
    } catch (const std::exception& other) {
        ui.message(other.what(), msg::program_name, message_icon::error, message_buttons::ok);
    }
    return action_result::failed;
}

}  // namespace orvix

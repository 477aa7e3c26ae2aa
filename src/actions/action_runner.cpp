// Runs an action and turns whatever ends it early into the message the user sees.
#include "actions/action_runner.h"

#include <new>

#include "actions/messages.h"
#include "platform/errors.h"

namespace orvix {

action_result run_action(action_function run, int command, int mode, services& ui,
                         document_state& doc) {
    action_context ctx{ui, doc, mode, command, doc.current_name};
    try {
        return run(ctx);
    } catch (const write_failure& failure) {
        show_error(ui, msg::error_writing_file, failure.path());
    } catch (const read_failure& failure) {
        show_error(ui, msg::could_not_read_file, failure.path());
    } catch (const action_abort& abort) {
        show_error(ui, abort.what());
    } catch (const std::bad_alloc&) {
        show_error(ui, msg::not_enough_memory);
    } catch (const std::exception& other) {
        show_error(ui, other.what());
    }
    return action_result::failed;
}

}  // namespace orvix

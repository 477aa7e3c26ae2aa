// Runs an action and turns whatever ends it early into the message the user sees.
#include <new>

#include "app/action_table.h"
#include "app/messages.h"
#include "platform/errors.h"

namespace orvix {

const action_entry* find_action(int command) {
    for (const auto& entry : action_table())
        if (entry.command == command) return &entry;
    return nullptr;
}

action_result run_action(const action_entry& entry, services& ui, document_state& doc) {
    action_context ctx{ui, doc, entry.mode, doc.current_name};
    try {
        return entry.run(ctx);
    } catch (const write_failure& failure) {
        ui.message(msg::error_writing_file, failure.path(), message_icon::error,
                   message_buttons::ok);
    } catch (const read_failure& failure) {
        ui.message(msg::could_not_read_file, failure.path(), message_icon::error,
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

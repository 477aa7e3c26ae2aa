// The internal echo action: input, result file, records, cleanup.
#include "actions/echo_action.h"

#include "crystal/records.h"

namespace orvix {

action_result echo_atoms(action_context& ctx) {
    action_input input;
    if (!open_action_input(ctx, input)) return action_result::failed;
    auto result = create_result_file(ctx);
    if (!result) return action_result::cancelled;
    std::string cell;
    if (read_cell_line(*input.file, cell)) copy_cell_line(*result, cell);
    atom_record atom;
    while (read_atom_line(*input.file, atom, true, &*result))
        write_atom_line(*result, atom.label, atom.x, atom.y, atom.z);
    result->close();
    close_action_input(input);
    return action_result::completed;
}

}  // namespace orvix

// The internal echo action: input, result file, records, cleanup.
#include "actions/echo_action.h"

#include "crystal/records.h"

namespace orvix {

action_result echo_atoms(action_context& ctx) {
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;
    std::string cell;
    if (read_cell_line(*input.file, cell)) copy_cell_line(*result, cell);
    atom_record atom;
    while (read_atom_line(*input.file, atom, true, &*result))
        write_atom_line(*result, atom.label, atom.x, atom.y, atom.z);
    result->close();
    return action_result::completed;
}

}  // namespace orvix

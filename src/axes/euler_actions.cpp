// Calculate Euler angles and the Euler rotations forwards and backwards.
#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "axes/axis_questions.h"
#include "axes/euler.h"
#include "crystal/records.h"
#include "platform/c_format.h"

namespace orvix {

std::string euler_clipboard_text(const euler_angles& angles) {
    return c_format(msg::euler_clipboard_format, angles.alpha, angles.beta, angles.gamma);
}

action_result calculate_euler_angles(action_context& ctx) {
    services& ui = ctx.ui;
    action_input input;
    if (!open_action_input(ctx, input)) return action_result::failed;

    // Only atom lines count: comments, the cell line and origin lines are passed over.
    axis_system axes;
    std::size_t rows = 0;
    atom_record atom;
    while (rows < 3 && read_atom_line(*input.file, atom, false, nullptr)) {
        if (is_origin_label(atom.label)) continue;
        axes.row[rows++] = {atom.x, atom.y, atom.z};
    }
    if (rows < 3) {
        show_error(ui, msg::wrong_data_format);
        return action_result::failed;
    }
    if (!check_axis_system(ui, axes)) return action_result::failed;

    euler_angles angles;
    axes_to_euler(axes, angles);
    // The clipboard carries the full double precision to the Euler Rotations dialog.
    ui.set_clipboard_text(euler_clipboard_text(angles));
    ui.euler_angles_dialog(angles);  // OK and Cancel both just close it
    return action_result::completed;
}

action_result euler_rotations(action_context& ctx) {
    services& ui = ctx.ui;
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;

    euler_angles angles = clipboard_euler_angles(ui.clipboard_text());
    if (ui.euler_rotations_dialog(angles) != dialog_result::ok) {
        result->close();  // stays behind, empty
        return action_result::cancelled;
    }
    matrix3 m;
    euler_matrix(angles, ctx.mode == euler_mode_forwards ? forwards_matrix : backwards_matrix, m);

    std::string cell;
    if (read_cell_line(*input.file, cell)) copy_cell_line(*result, cell);
    // No check of the cell: fractional coordinates are turned like Cartesian ones.
    input.file->rewind();
    atom_record atom;
    while (read_atom_line(*input.file, atom, true, &*result)) {
        vec3 turned;
        apply_matrix(m, {atom.x, atom.y, atom.z}, turned);
        const float x = static_cast<float>(turned.x);
        const float y = static_cast<float>(turned.y);
        const float z = static_cast<float>(turned.z);
        // A position that is no number, or one turned beyond single precision, would be
        // written as "nan" or "inf"; the lines before it stay in the result.
        if (!is_finite_position(x, y, z)) {
            show_error(ui, msg::wrong_data_format);
            return action_result::failed;
        }
        write_atom_line(*result, atom.label, x, y, z);
    }
    result->close();
    return action_result::completed;
}

}  // namespace orvix

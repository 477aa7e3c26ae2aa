// Orthogonalize > Axes and Orthogonalize > Coordinates.
#include <array>

#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "axes/axis_questions.h"
#include "axes/orthogonalize.h"
#include "crystal/records.h"

namespace orvix {

namespace {

// Both actions start with the Order of Axes dialog on the default order. An order that
// leaves an axis out is refused and the command is posted again, so that the dialog comes
// back, on the default order, once this command has returned.
bool ask_order(services& ui, int own_command, axis_order& order, action_result& ended) {
    order = axis_order{};
    if (ui.order_of_axes_dialog(order) != dialog_result::ok) {
        ended = action_result::cancelled;
        return false;
    }
    if (!is_valid_order(order)) {
        show_error(ui, msg::axes_not_assigned, msg::program_name);
        ui.post_command(own_command);
        ended = action_result::failed;
        return false;
    }
    return true;
}

}  // namespace

action_result orthogonalize_axes_action(action_context& ctx) {
    services& ui = ctx.ui;
    axis_order order;
    action_result ended = action_result::failed;
    if (!ask_order(ui, ctx.command, order, ended)) return ended;

    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;

    std::string cell;
    if (read_cell_line(*input.file, cell)) {
        if (!is_cartesian_cell(cell)) {
            show_error(ui, msg::not_cartesian, msg::program_name);
            return action_result::failed;
        }
        write_cartesian_cell(*result);
    }

    // Old axis i (the i-th atom line that is not an origin line) goes to the new position
    // whose row chose it.
    axis_system axes;
    std::array<std::string, 3> labels;
    int read = 0;
    atom_record atom;
    while (read < 3 && read_atom_line(*input.file, atom, true, &*result)) {
        if (is_origin_label(atom.label)) {
            // Copied as it stands, so it must be a position of numbers as the axes must.
            if (!is_finite_position(atom.x, atom.y, atom.z)) {
                show_error(ui, msg::wrong_data_format, msg::program_name);
                return action_result::failed;
            }
            write_atom_line(*result, atom.label, atom.x, atom.y, atom.z);
            continue;
        }
        for (std::size_t p = 0; p < 3; ++p) {
            if (order.row[p] != read) continue;
            axes.row[p] = {atom.x, atom.y, atom.z};
            labels[p] = atom.label;
        }
        ++read;
    }
    if (read < 3) {
        show_error(ui, msg::wrong_data_format, msg::program_name);
        return action_result::failed;
    }
    if (!check_unit_vectors(ui, axes)) return action_result::failed;
    if (!orthogonalize_axes(axes)) {
        show_error(ui, msg::null_vector);
        return action_result::failed;
    }

    for (std::size_t p = 0; p < 3; ++p)
        write_atom_line(*result, labels[p], static_cast<float>(axes.row[p].x),
                        static_cast<float>(axes.row[p].y), static_cast<float>(axes.row[p].z));
    result->close();
    return action_result::completed;
}

action_result orthogonalize_coordinates_action(action_context& ctx) {
    services& ui = ctx.ui;
    axis_order order;
    action_result ended = action_result::failed;
    if (!ask_order(ui, ctx.command, order, ended)) return ended;

    action_input input;
    if (!open_action_input(ctx, input)) {
        show_error(ui, msg::no_data_handle, "");
        return action_result::failed;
    }
    bool reopen_failed = false;
    auto result = create_result_file(ctx, &reopen_failed);
    if (!result) {
        show_error(ui, reopen_failed ? msg::no_open_output : msg::no_output_file, "");
        return action_result::failed;
    }

    std::string line;
    cell_constants cell;
    if (!read_cell_line(*input.file, line) || !parse_cell_constants(line, cell)) {
        show_error(ui, msg::no_crystal_axes, msg::program_name);
        return action_result::failed;
    }
    write_cartesian_cell(*result);
    matrix3 m;
    if (!fractional_to_cartesian(reorder_cell(cell, order), m)) {
        // The cell line is out already, as for every end after it; no atom line follows,
        // so the result holds no NaN coordinates.
        show_error(ui, msg::cell_cannot_close, msg::program_name);
        return action_result::failed;
    }

    atom_record atom;
    while (read_atom_line(*input.file, atom, true, &*result)) {
        vec3 cartesian;
        apply_matrix(m, reorder_coordinates({atom.x, atom.y, atom.z}, order), cartesian);
        const float x = static_cast<float>(cartesian.x);
        const float y = static_cast<float>(cartesian.y);
        const float z = static_cast<float>(cartesian.z);
        // No "nan" or "inf" in a result: the lines before such a position stay.
        if (!is_finite_position(x, y, z)) {
            show_error(ui, msg::wrong_data_format, msg::program_name);
            return action_result::failed;
        }
        write_atom_line(*result, atom.label, x, y, z);
    }
    result->close();
    return action_result::completed;
}

}  // namespace orvix

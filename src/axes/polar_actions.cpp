// Orthogonalize > Calculate normal and Polar angles > Calculate.
#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "axes/axis_questions.h"
#include "axes/polar.h"
#include "crystal/records.h"
#include "platform/c_format.h"

namespace orvix {

namespace {

// Both actions need Cartesian data. Without a Cartesian cell line first they end with an
// empty result file: silently in the desktop program, with a word under orvix-cli.
bool has_cartesian_cell(action_context& ctx, exclusive_file& input) {
    std::string cell;
    if (read_cell_line(input, cell) && is_cartesian_cell(cell)) return true;
    if (ctx.mode == explain_silent_end) show_error(ctx.ui, msg::no_cartesian_cell_line);
    return false;
}

}  // namespace

action_result calculate_normal(action_context& ctx) {
    services& ui = ctx.ui;
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;
    if (!has_cartesian_cell(ctx, *input.file)) {
        result->close();
        return action_result::failed;
    }

    // Every atom line counts here, origin lines included.
    vec3 p[3];
    int read = 0;
    atom_record atom;
    while (read < 3 && read_atom_line(*input.file, atom, true, &*result))
        p[read++] = {atom.x, atom.y, atom.z};
    if (read < 3) {
        show_error(ui, msg::wrong_data_format);
        return action_result::failed;
    }

    vec3 n = plane_normal(p[0], p[1], p[2]);
    result->write(c_format("normal vector: %12.6f %12.6f %12.6f\r\n", n.x, n.y, n.z));
    // Three atoms on one line give a NULL normal: its message, and no second line.
    const bool normalized = normalize_or_tell(ui, n);
    if (normalized)
        result->write(c_format("normalized:    %12.6f %12.6f %12.6f\r\n", n.x, n.y, n.z));
    result->close();
    return normalized ? action_result::completed : action_result::failed;
}

action_result polar_angles(action_context& ctx) {
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;
    if (!has_cartesian_cell(ctx, *input.file)) {
        result->close();
        return action_result::failed;
    }

    atom_record atom;
    while (read_atom_line(*input.file, atom, true, &*result)) {
        if (is_origin_label(atom.label)) continue;
        const polar_position polar = polar_coordinates(atom.x, atom.y, atom.z);
        write_atom_line(*result, atom.label, polar.phi, polar.theta, polar.r);
    }
    result->close();
    return action_result::completed;
}

}  // namespace orvix

// The axis checks' messages and questions.
#include "axes/axis_questions.h"

#include "actions/action_protocol.h"
#include "actions/messages.h"
#include "platform/c_format.h"

namespace orvix {

bool normalize_or_tell(services& ui, vec3& v) {
    if (normalize_vector(v)) return true;
    show_error(ui, msg::null_vector);
    return false;
}

bool check_unit_vectors(services& ui, axis_system& axes) {
    if (!is_finite(axes)) {
        show_error(ui, msg::wrong_data_format);
        return false;
    }
    // One question for the whole system, however many rows deviate.
    if (deviates_from_unit_length(axes) &&
        ui.ask(question::normalize_axes, msg::not_unit_vectors, msg::program_name,
               message_icon::question, message_buttons::ok_cancel) != answer::ok)
        return false;
    for (vec3& r : axes.row)
        if (!normalize_or_tell(ui, r)) return false;
    return true;
}

bool check_orthogonality(services& ui, const axis_system& axes) {
    const char* pair = first_oblique_pair(axes);
    if (pair == nullptr) return true;
    ui.message(c_format(msg::not_orthogonal_format, pair), msg::program_name,
               message_icon::question, message_buttons::ok_cancel);
    return false;
}

bool check_handedness(services& ui, axis_system& axes) {
    if (is_right_handed(axes)) return true;
    int axis = 2;  // Z is proposed every time, whatever was chosen before
    if (ui.axis_inversion_dialog(axis) != dialog_result::ok) return false;
    return invert_axis(axes, axis);
}

bool check_axis_system(services& ui, axis_system& axes) {
    return check_unit_vectors(ui, axes) && check_orthogonality(ui, axes) &&
           check_handedness(ui, axes);
}

}  // namespace orvix

// orvix-cli's answers to the services interface.
#include "cli/cli_services.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "actions/messages.h"
#include "commands/command_options.h"

namespace orvix {

answer cli_services::message(std::string_view text, std::string_view caption, message_icon icon,
                             message_buttons buttons) {
    return ask(question::other, text, caption, icon, buttons);
}

answer cli_services::ask(question which, std::string_view text, std::string_view caption,
                         message_icon icon, message_buttons buttons) {
    messages.push_back({std::string(text), std::string(caption), icon, buttons});
    // Every message the desktop program would show goes to standard error, answered
    // questions too, so that a log tells what was decided on the user's behalf.
    print_cli_message(text, caption);
    if (buttons != message_buttons::ok) {
        if (which == question::normalize_axes && answers_.normalize) return answer::ok;
        if (which == question::large_result && !answers_.refuse_large) return answer::ok;
        error_shown = true;
        return answer::cancel;
    }
    if (icon == message_icon::error) error_shown = true;
    return answer::ok;
}

dialog_result cli_services::axis_inversion_dialog(int& axis) {
    dialogs_shown.emplace_back("Axis Inversion");
    if (!answers_.invert_axis) {
        // Unanswered, the dialog's question goes to standard error and the command fails.
        print_cli_message(msg::left_handed, "");
        error_shown = true;
        return dialog_result::cancel;
    }
    axis = *answers_.invert_axis;
    return dialog_result::ok;
}

dialog_result cli_services::euler_rotations_dialog(euler_angles& angles) {
    dialogs_shown.emplace_back("Euler Rotations");
    if (!answers_.rotation) return dialog_result::cancel;
    angles = *answers_.rotation;
    return dialog_result::ok;
}

dialog_result cli_services::order_of_axes_dialog(axis_order& order) {
    dialogs_shown.emplace_back("Order of Axes");
    if (!answers_.order) return dialog_result::cancel;
    order = *answers_.order;
    return dialog_result::ok;
}

dialog_result cli_services::dipolar_dialog(dipolar_parameters& parameters) {
    dialogs_shown.emplace_back("Dipolar Second Moment");
    if (!answers_.dipolar) return dialog_result::cancel;
    apply_dipolar_answers(*answers_.dipolar, parameters);
    return dialog_result::ok;
}

dialog_result cli_services::symmetry_operations_dialog(symmetry_operation& record) {
    dialogs_shown.emplace_back("Symmetry Operations");
    // Dialog k takes operation k; the first dialog also sets the count.
    const auto& operations = answers_.operations;
    const std::int64_t index = std::int64_t{record.current_position} - 1;
    if (index < 0 || index >= static_cast<std::int64_t>(operations.size()))
        return dialog_result::cancel;
    if (record.current_position == 1)
        record.position_count = static_cast<std::int32_t>(operations.size());
    const auto& chosen = operations[static_cast<std::size_t>(index)];
    record.factor = chosen.factor;
    record.shift = chosen.shift;
    record.source = chosen.source;
    return dialog_result::ok;
}

dialog_result cli_services::generate_block_dialog(block_record& block) {
    dialogs_shown.emplace_back("Generate Block");
    if (!answers_.block_n) return dialog_result::cancel;
    block.n = *answers_.block_n;
    return dialog_result::ok;
}

dialog_result cli_services::cluster_dialog(cluster_record& record) {
    dialogs_shown.emplace_back("Cluster around an Atom");
    if (!answers_.cluster) return dialog_result::cancel;
    record.site = answers_.cluster->site;
    record.radius = answers_.cluster->radius;
    return dialog_result::ok;
}

std::optional<exclusive_file> cli_services::open_result_stream(const std::string& path,
                                                               int& error) {
    error = 0;
    if (path != standard_output_name) return std::nullopt;
    return exclusive_file::adopt(STDOUT_FILENO, "standard output", &error);
}

void cli_services::result_not_created(const std::string& path, int error) {
    scripted_services::result_not_created(path, error);
    const std::string shown = path == standard_output_name ? "standard output" : path;
    print_cli_message(msg::error_creating_file, shown + ": " + std::strerror(error));
    error_shown = true;
}

void cli_services::set_clipboard_text(std::string_view text) {
    scripted_services::set_clipboard_text(text);
    if (on_clipboard_text) on_clipboard_text(text);
}

dialog_result cli_services::tensor_parameters_dialog(tensor_parameters_record& record) {
    dialogs_shown.emplace_back("Tensor Parameters");
    if (!answers_.tensor_parameters) return dialog_result::cancel;
    record = *answers_.tensor_parameters;
    return dialog_result::ok;
}

}  // namespace orvix

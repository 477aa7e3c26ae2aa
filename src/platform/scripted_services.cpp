// Scripted answers for the services interface.
#include "platform/scripted_services.h"

#include <filesystem>

namespace orvix {

namespace {

bool take_choice(std::deque<std::optional<std::string>>& choices, std::string& path,
                 std::string& name) {
    if (choices.empty()) return false;
    std::optional<std::string> choice = std::move(choices.front());
    choices.pop_front();
    if (!choice) return false;
    path = *choice;
    name = std::filesystem::path(*choice).filename().string();
    return true;
}

template <typename Handler, typename Record>
dialog_result run_handler(const Handler& handler, Record& record) {
    return handler ? handler(record) : dialog_result::cancel;
}

}  // namespace

answer scripted_services::message(std::string_view text, std::string_view caption,
                                  message_icon icon, message_buttons buttons) {
    messages.push_back({std::string(text), std::string(caption), icon, buttons});
    if (buttons == message_buttons::ok) return answer::ok;
    if (answers.empty()) return default_answer;
    const answer a = answers.front();
    answers.pop_front();
    return a;
}

bool scripted_services::open_file_dialog(const file_dialog_record&, std::string& path,
                                         std::string& name) {
    proposed_open_names.push_back(path);
    return take_choice(open_choices, path, name);
}

bool scripted_services::save_file_dialog(const file_dialog_record&, std::string& path,
                                         std::string& name) {
    proposed_save_names.push_back(path);
    return take_choice(save_choices, path, name);
}

dialog_result scripted_services::axis_inversion_dialog(int& axis) {
    dialogs_shown.emplace_back("Axis Inversion");
    return run_handler(on_axis_inversion, axis);
}

dialog_result scripted_services::euler_angles_dialog(const euler_angles& angles) {
    dialogs_shown.emplace_back("Euler Angles");
    return on_euler_angles ? on_euler_angles(angles) : dialog_result::ok;
}

dialog_result scripted_services::euler_rotations_dialog(euler_angles& angles) {
    dialogs_shown.emplace_back("Euler Rotations");
    return run_handler(on_euler_rotations, angles);
}

dialog_result scripted_services::order_of_axes_dialog(axis_order& order) {
    dialogs_shown.emplace_back("Order of Axes");
    return run_handler(on_order_of_axes, order);
}

dialog_result scripted_services::dipolar_dialog(dipolar_parameters& parameters) {
    dialogs_shown.emplace_back("Dipolar Second Moment");
    return run_handler(on_dipolar, parameters);
}

dialog_result scripted_services::symmetry_operations_dialog(symmetry_operation& operation) {
    dialogs_shown.emplace_back("Symmetry Operations");
    return run_handler(on_symmetry_operations, operation);
}

dialog_result scripted_services::generate_block_dialog(block_record& block) {
    dialogs_shown.emplace_back("Generate Block");
    return run_handler(on_generate_block, block);
}

dialog_result scripted_services::cluster_dialog(cluster_record& record) {
    dialogs_shown.emplace_back("Cluster around an Atom");
    return run_handler(on_cluster, record);
}

dialog_result scripted_services::tensor_parameters_dialog(tensor_parameters_record& record) {
    dialogs_shown.emplace_back("Tensor Parameters");
    return run_handler(on_tensor_parameters, record);
}

void scripted_services::progress_begin(std::string_view, std::uint64_t) {}

bool scripted_services::progress_step(std::uint64_t) {
    ++progress_reports;
    return !(progress_cancel_at &&
             static_cast<std::uint64_t>(progress_reports) >= *progress_cancel_at);
}

std::vector<std::string> scripted_services::message_texts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

}  // namespace orvix

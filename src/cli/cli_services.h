// The services as orvix-cli answers them: messages go to standard error, the input comes
// from INPUT or standard input, the result goes to -o FILE or standard output, and every
// dialog is answered from the command's options (a question without an answer is Cancel).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/scripted_services.h"

namespace orvix {

struct command_line_answers;

class cli_services : public scripted_services {
  public:
    explicit cli_services(const command_line_answers& answers) : answers_(answers) {}

    // Set once a message with the error icon, or a question answered Cancel, was shown, or
    // a result file could not be created.
    bool error_shown = false;

    // Called with the text whenever the action puts it on the clipboard, when set.
    std::function<void(std::string_view)> on_clipboard_text;

    answer message(std::string_view text, std::string_view caption, message_icon icon,
                   message_buttons buttons) override;
    answer ask(question which, std::string_view text, std::string_view caption, message_icon icon,
               message_buttons buttons) override;
    // The result file "-" is standard output, written as the action goes.
    std::optional<exclusive_file> open_result_stream(const std::string& path, int& error) override;
    // "Error creating file! (PATH: REASON)" on standard error; the command fails.
    void result_not_created(const std::string& path, int error) override;
    void set_clipboard_text(std::string_view text) override;

    // The dialogs, answered from the options.
    dialog_result axis_inversion_dialog(int& axis) override;
    dialog_result euler_rotations_dialog(euler_angles& angles) override;
    dialog_result order_of_axes_dialog(axis_order& order) override;
    dialog_result dipolar_dialog(dipolar_parameters& parameters) override;
    dialog_result symmetry_operations_dialog(symmetry_operation& operation) override;
    dialog_result generate_block_dialog(block_record& block) override;
    dialog_result cluster_dialog(cluster_record& record) override;
    dialog_result tensor_parameters_dialog(tensor_parameters_record& record) override;

  private:
    const command_line_answers& answers_;
};

// The result file name that stands for standard output.
inline constexpr std::string_view standard_output_name = "-";

}  // namespace orvix

// A services implementation that answers from scripts instead of a user: the tests queue
// answers and dialog handlers and read back every message shown; orvix-cli sets the
// handlers from its options. Anything not scripted is answered Cancel.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace orvix {

struct shown_message {
    std::string text;
    std::string caption;
    message_icon icon = message_icon::none;
    message_buttons buttons = message_buttons::ok;
};

class scripted_services : public services {
  public:
    // --- scripts ---
    // The editor's text (CR LF line ends, 8-bit).
    std::string editor;
    // Answers to questions in order; when the queue is empty a question is answered by
    // `default_answer` (Cancel unless changed). Plain messages take no answer.
    std::deque<answer> answers;
    answer default_answer = answer::cancel;
    // Paths chosen in the open and save dialogs, in order; an empty optional or an empty
    // queue is a cancelled dialog. The chosen file's name is the path's last component.
    std::deque<std::optional<std::string>> open_choices;
    std::deque<std::optional<std::string>> save_choices;
    // The clipboard's plain text, if any.
    std::optional<std::string> clipboard;
    // Dialog handlers; an unset handler answers Cancel.
    std::function<dialog_result(int&)> on_axis_inversion;
    std::function<dialog_result(const euler_angles&)> on_euler_angles;
    std::function<dialog_result(euler_angles&)> on_euler_rotations;
    std::function<dialog_result(axis_order&)> on_order_of_axes;
    std::function<dialog_result(dipolar_parameters&)> on_dipolar;
    std::function<dialog_result(symmetry_operation&)> on_symmetry_operations;
    std::function<dialog_result(block_record&)> on_generate_block;
    std::function<dialog_result(cluster_record&)> on_cluster;
    std::function<dialog_result(tensor_parameters_record&)> on_tensor_parameters;
    // Progress: cancel when `progress_cancel_at` steps have been reported (if set).
    std::optional<std::uint64_t> progress_cancel_at;

    // --- what happened ---
    std::vector<shown_message> messages;
    std::vector<std::string> help_topics;
    std::vector<int> posted_commands;
    std::vector<std::string> dialogs_shown;  // dialog titles in order
    std::vector<std::string> proposed_save_names;
    std::vector<std::string> proposed_open_names;
    // Result files that could not be created: path and errno value.
    std::vector<std::pair<std::string, int>> results_not_created;
    int progress_reports = 0;

    // --- services ---
    answer message(std::string_view text, std::string_view caption, message_icon icon,
                   message_buttons buttons) override;
    bool open_file_dialog(const file_dialog_record& record, std::string& path,
                          std::string& name) override;
    bool save_file_dialog(const file_dialog_record& record, std::string& path,
                          std::string& name) override;
    void result_not_created(const std::string& path, int error) override {
        results_not_created.emplace_back(path, error);
    }
    std::string editor_text() override { return editor; }
    std::optional<std::string> clipboard_text() override { return clipboard; }
    void set_clipboard_text(std::string_view text) override { clipboard = std::string(text); }
    void show_help(std::string_view topic) override { help_topics.emplace_back(topic); }
    void post_command(int command) override { posted_commands.push_back(command); }
    dialog_result axis_inversion_dialog(int& axis) override;
    dialog_result euler_angles_dialog(const euler_angles& angles) override;
    dialog_result euler_rotations_dialog(euler_angles& angles) override;
    dialog_result order_of_axes_dialog(axis_order& order) override;
    dialog_result dipolar_dialog(dipolar_parameters& parameters) override;
    dialog_result symmetry_operations_dialog(symmetry_operation& operation) override;
    dialog_result generate_block_dialog(block_record& block) override;
    dialog_result cluster_dialog(cluster_record& record) override;
    dialog_result tensor_parameters_dialog(tensor_parameters_record& record) override;
    void progress_begin(std::string_view label, std::uint64_t total) override;
    bool progress_step(std::uint64_t done) override;
    void progress_end() override {}

    // The texts of the messages shown so far, for compact comparisons in tests.
    std::vector<std::string> message_texts() const;
};

}  // namespace orvix

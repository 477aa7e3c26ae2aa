// The services interface: every interaction of an action with the user or the desktop goes
// through one of these calls. The Qt front end, orvix-cli and the tests each implement it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dialog_records.h"
#include "platform/files.h"

namespace orvix {

enum class message_icon { none, error, question, warning, information };
enum class message_buttons { ok, ok_cancel, yes_no_cancel };
enum class answer { ok, cancel, yes, no };
enum class dialog_result { ok, cancel };

// The questions a front end may have answered in advance (orvix-cli's options say OK or
// Cancel to them); every other question is `other`.
enum class question { other, normalize_axes, large_result };

// The record handed to every file dialog; reset before each one.
struct file_dialog_record {
    std::vector<std::pair<std::string, std::string>> filters;  // description, pattern
    int filter_index = 0;
    std::string initial_dir;
    std::string title;
    std::string default_extension;
};

// Sets the members every file dialog relies on: the four filters, the first one selected,
// no initial directory or title of our own, and the default extension "cry".
void reset_file_dialog_record(file_dialog_record& record);

class services {
  public:
    virtual ~services() = default;

    // A message box. An empty caption means "no caption of its own". Returns the button
    // pressed (ok for a plain message box).
    virtual answer message(std::string_view text, std::string_view caption, message_icon icon,
                           message_buttons buttons) = 0;

    // A question box (buttons other than ok), naming which question it is. The default asks
    // through `message`.
    virtual answer ask(question which, std::string_view text, std::string_view caption,
                       message_icon icon, message_buttons buttons);

    // File dialogs. `path` holds the proposed name on entry; on a choice it holds the full
    // path and `name` the file's name. False when cancelled.
    virtual bool open_file_dialog(const file_dialog_record& record, std::string& path,
                                  std::string& name) = 0;
    virtual bool save_file_dialog(const file_dialog_record& record, std::string& path,
                                  std::string& name) = 0;

    // orvix-cli's part in an action's result file; the desktop program keeps both defaults.
    // A stream of the front end's own that stands for `path`, chosen in the save dialog
    // (orvix-cli's standard output). Nothing with `error` left 0, the default, means that
    // `path` names a file for the action protocol to create; nothing with `error` set (an
    // errno value) means that the stream cannot be had.
    virtual std::optional<exclusive_file> open_result_stream(const std::string& path, int& error);
    // The result file at `path` could not be created, for the reason `error` (an errno
    // value). The desktop program ends the action without a word; orvix-cli says why.
    virtual void result_not_created(const std::string& path, int error);

    // The editor's whole text as 8-bit bytes with CR LF line ends.
    virtual std::string editor_text() = 0;

    // Plain text on the system clipboard, or nothing when it holds no text.
    virtual std::optional<std::string> clipboard_text() = 0;
    virtual void set_clipboard_text(std::string_view text) = 0;

    // Shows a help topic ("HLP_CONTENTS", "HLP_EULER", ...). Dialogs stay open meanwhile.
    virtual void show_help(std::string_view topic) = 0;

    // Runs a command again once the present one has returned (a queued call).
    virtual void post_command(int command) = 0;

    // Parameter dialogs: each edits the record handed in and answers OK or Cancel.
    virtual dialog_result axis_inversion_dialog(int& axis) = 0;
    virtual dialog_result euler_angles_dialog(const euler_angles& angles) = 0;
    virtual dialog_result euler_rotations_dialog(euler_angles& angles) = 0;
    virtual dialog_result order_of_axes_dialog(axis_order& order) = 0;
    virtual dialog_result dipolar_dialog(dipolar_parameters& parameters) = 0;
    virtual dialog_result symmetry_operations_dialog(symmetry_operation& operation) = 0;
    virtual dialog_result generate_block_dialog(block_record& block) = 0;
    virtual dialog_result cluster_dialog(cluster_record& record) = 0;
    virtual dialog_result tensor_parameters_dialog(tensor_parameters_record& record) = 0;

    // Progress of long work. The desktop shows a dialog with Cancel once the work has taken
    // about half a second; progress_step answers false when the user cancelled.
    virtual void progress_begin(std::string_view label, std::uint64_t total) = 0;
    virtual bool progress_step(std::uint64_t done) = 0;
    virtual void progress_end() = 0;
};

// Ends a progress report on every exit of the scope that began it.
class progress_scope {
  public:
    progress_scope(services& ui, std::string_view label, std::uint64_t total) : ui_(ui) {
        ui_.progress_begin(label, total);
    }
    ~progress_scope() { ui_.progress_end(); }
    progress_scope(const progress_scope&) = delete;
    progress_scope& operator=(const progress_scope&) = delete;
    bool step(std::uint64_t done) { return ui_.progress_step(done); }

  private:
    services& ui_;
};

}  // namespace orvix

// The services interface in the desktop program: Qt message boxes, file dialogs, clipboard,
// the editor's text, the help browser, queued re-posting of commands, progress dialogs.
#pragma once

#include <QElapsedTimer>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QTextDocument>
#include <functional>
#include <memory>

#include "platform/services.h"

namespace orvix {

class qt_services : public services {
  public:
    // `owner` owns every dialog and message box; `editor` holds the document text.
    qt_services(QWidget* owner, QPlainTextEdit* editor);

    // Where help topics and re-posted commands go (set by the main window).
    std::function<void(std::string_view)> help_handler;
    std::function<void(int)> command_handler;

    answer message(std::string_view text, std::string_view caption, message_icon icon,
                   message_buttons buttons) override;
    bool open_file_dialog(const file_dialog_record& record, std::string& path,
                          std::string& name) override;
    bool save_file_dialog(const file_dialog_record& record, std::string& path,
                          std::string& name) override;
    std::string editor_text() override;
    std::optional<std::string> clipboard_text() override;
    void set_clipboard_text(std::string_view text) override;
    void show_help(std::string_view topic) override;
    void post_command(int command) override;
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
    void progress_end() override;

  private:
    bool run_file_dialog(const file_dialog_record& record, std::string& path, std::string& name,
                         QFileDialog::AcceptMode mode);

    QWidget* owner_;
    QString last_directory_;
    QPlainTextEdit* editor_;
    std::unique_ptr<QProgressDialog> progress_;
    QElapsedTimer progress_clock_;
    qint64 progress_last_event_ms_ = 0;
    std::uint64_t progress_total_ = 0;
};

// The editor's text as 8-bit bytes with CR LF line ends, and back (Latin-1 both ways).
std::string editor_bytes(const QString& text);
// The same from the editor's document itself, block by block: a no-break space stays one
// (the document's plain text would turn it into a blank).
std::string editor_bytes(const QTextDocument& document);
QString editor_text_from_bytes(const std::string& bytes);

// The filter string of a file dialog from the record's table.
QString file_dialog_filters(const file_dialog_record& record);

// Sets up a file dialog from the record: its filters (shown by their descriptions), the one
// selected, the default suffix, the proposed name and, without an initial directory in the
// record, `directory` (the folder of the last file chosen).
void configure_file_dialog(QFileDialog& dialog, const file_dialog_record& record,
                           const std::string& proposed, QFileDialog::AcceptMode mode,
                           const QString& directory = {});

}  // namespace orvix

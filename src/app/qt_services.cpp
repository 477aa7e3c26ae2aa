// Qt implementations of the services.
#include "app/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QTimer>

#include "actions/messages.h"
#include "app/dialogs.h"

namespace orvix {

std::string editor_bytes(const QString& text) {
    // QPlainTextEdit separates lines with U+2029 internally and gives "\n" in toPlainText.
    const QByteArray latin1 = text.toLatin1();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(latin1.size()) + 64);
    for (char c : latin1) {
        if (c == '\n') bytes.push_back('\r');
        if (c == '\r') continue;
        bytes.push_back(c);
    }
    return bytes;
}

std::string editor_bytes(const QTextDocument& document) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(document.characterCount()) * 2);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) bytes += "\r\n";
        const QByteArray latin1 = block.text().toLatin1();
        bytes.append(latin1.constData(), static_cast<std::size_t>(latin1.size()));
    }
    return bytes;
}

QString editor_text_from_bytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString file_dialog_filters(const file_dialog_record& record) {
    QStringList filters;
    for (const auto& [description, pattern] : record.filters)
        filters << QString::fromLatin1(description.c_str()) + QStringLiteral(" (") +
                       QString::fromLatin1(pattern.c_str()) + QStringLiteral(")");
    return filters.join(QStringLiteral(";;"));
}

qt_services::qt_services(QWidget* owner, QPlainTextEdit* editor) : owner_(owner), editor_(editor) {}

answer qt_services::message(std::string_view text, std::string_view caption, message_icon icon,
                            message_buttons buttons) {
    QMessageBox box(owner_);
    // Texts and captions may hold file names, which are in the system's 8-bit encoding.
    box.setObjectName(QStringLiteral("message_box"));
    box.setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    box.setWindowTitle(
        QString::fromLocal8Bit(caption.data(), static_cast<qsizetype>(caption.size())));
    switch (icon) {
        case message_icon::error:
            box.setIcon(QMessageBox::Critical);
            break;
        case message_icon::question:
            box.setIcon(QMessageBox::Question);
            break;
        case message_icon::warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case message_icon::information:
            box.setIcon(QMessageBox::Information);
            break;
        case message_icon::none:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (buttons) {
        case message_buttons::ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case message_buttons::ok_cancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case message_buttons::yes_no_cancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return answer::yes;
        case QMessageBox::No:
            return answer::no;
        case QMessageBox::Cancel:
            return answer::cancel;
        default:
            return buttons == message_buttons::ok          ? answer::ok
                   : buttons == message_buttons::ok_cancel ? answer::ok
                                                           : answer::cancel;
    }
}

void configure_file_dialog(QFileDialog& dialog, const file_dialog_record& record,
                           const std::string& proposed, QFileDialog::AcceptMode mode,
                           const QString& directory) {
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // Each filter is offered under its description alone; the pattern in brackets after it
    // is what the dialog filters by.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(file_dialog_filters(record));
    const QStringList filters = dialog.nameFilters();
    if (record.filter_index >= 0 && record.filter_index < filters.size())
        dialog.selectNameFilter(filters[record.filter_index]);
    // Qt's own dialog squeezes runs of blanks out of the texts it offers, and ours line the
    // patterns up with them: put the descriptions back as they are. The dialog filters by
    // position, so only the text shown changes. (A native dialog shows its own texts.)
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count() && i < static_cast<int>(record.filters.size()); ++i)
            types->setItemText(i, QString::fromLatin1(record.filters[i].first.c_str()));
    }
    dialog.setDefaultSuffix(QString::fromLatin1(record.default_extension.c_str()));
    if (!record.title.empty()) dialog.setWindowTitle(QString::fromLatin1(record.title.c_str()));
    if (!record.initial_dir.empty())
        dialog.setDirectory(QString::fromLocal8Bit(record.initial_dir.c_str()));
    else if (!directory.isEmpty())
        dialog.setDirectory(directory);
    if (!proposed.empty()) dialog.selectFile(QString::fromLocal8Bit(proposed.c_str()));
}

bool qt_services::run_file_dialog(const file_dialog_record& record, std::string& path,
                                  std::string& name, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner_);
    dialog.setObjectName(mode == QFileDialog::AcceptOpen ? QStringLiteral("open_file_dialog")
                                                         : QStringLiteral("save_file_dialog"));
    configure_file_dialog(dialog, record, path, mode, last_directory_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const QString chosen = dialog.selectedFiles().constFirst();
    const QFileInfo info(chosen);
    // The next dialog starts where this one chose, as the names it proposes are bare names.
    last_directory_ = info.absolutePath();
    path = chosen.toLocal8Bit().toStdString();
    name = info.fileName().toLocal8Bit().toStdString();
    return true;
}

bool qt_services::open_file_dialog(const file_dialog_record& record, std::string& path,
                                   std::string& name) {
    return run_file_dialog(record, path, name, QFileDialog::AcceptOpen);
}

bool qt_services::save_file_dialog(const file_dialog_record& record, std::string& path,
                                   std::string& name) {
    return run_file_dialog(record, path, name, QFileDialog::AcceptSave);
}

std::string qt_services::editor_text() {
    return editor_bytes(*editor_->document());
}

std::optional<std::string> qt_services::clipboard_text() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) return std::nullopt;
    return data->text().toLatin1().toStdString();
}

void qt_services::set_clipboard_text(std::string_view text) {
    QGuiApplication::clipboard()->setText(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void qt_services::show_help(std::string_view topic) {
    if (help_handler) help_handler(topic);
}

void qt_services::post_command(int command) {
    // Queued: the command runs once the present one has returned to the event loop.
    auto handler = command_handler;
    QTimer::singleShot(0, owner_, [handler, command] {
        if (handler) handler(command);
    });
}

dialog_result qt_services::axis_inversion_dialog(int& axis) {
    return run_axis_inversion_dialog(owner_, *this, axis);
}
dialog_result qt_services::euler_angles_dialog(const euler_angles& angles) {
    return run_euler_angles_dialog(owner_, *this, angles);
}
dialog_result qt_services::euler_rotations_dialog(euler_angles& angles) {
    return run_euler_rotations_dialog(owner_, *this, angles);
}
dialog_result qt_services::order_of_axes_dialog(axis_order& order) {
    return run_order_of_axes_dialog(owner_, *this, order);
}
dialog_result qt_services::dipolar_dialog(dipolar_parameters& parameters) {
    return run_dipolar_dialog(owner_, *this, parameters);
}
dialog_result qt_services::symmetry_operations_dialog(symmetry_operation& operation) {
    return run_symmetry_operations_dialog(owner_, *this, operation);
}
dialog_result qt_services::generate_block_dialog(block_record& block) {
    return run_generate_block_dialog(owner_, *this, block);
}
dialog_result qt_services::cluster_dialog(cluster_record& record) {
    return run_cluster_dialog(owner_, *this, record);
}

dialog_result qt_services::tensor_parameters_dialog(tensor_parameters_record& record) {
    return run_tensor_parameters_dialog(owner_, *this, record);
}

void qt_services::progress_begin(std::string_view label, std::uint64_t total) {
    // Made without a cancel button, as ours is set below: the dialog adds an Escape shortcut
    // with every cancel button it gets and keeps the old one, and of two shortcuts on one
    // key neither fires.
    progress_ = std::make_unique<QProgressDialog>(
        QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())), QString(), 0, 1000,
        owner_);
    progress_->setWindowModality(Qt::WindowModal);
    // A caption and a Cancel button like those of every other dialog of the program.
    progress_->setWindowTitle(QString::fromLatin1(
        msg::program_name.data(), static_cast<qsizetype>(msg::program_name.size())));
    progress_->setCancelButton(new QPushButton(
        progress_->style()->standardIcon(QStyle::SP_DialogCancelButton), QObject::tr("&Cancel")));
    progress_->setMinimumDuration(500);  // shown only once the work takes half a second
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setValue(0);
    progress_total_ = total;
    progress_clock_.start();
    progress_last_event_ms_ = 0;
}

bool qt_services::progress_step(std::uint64_t done) {
    if (!progress_) return true;
    // Keep the event loop moving without letting it dominate fast work.
    const qint64 now = progress_clock_.elapsed();
    if (now - progress_last_event_ms_ < 50) return !progress_->wasCanceled();
    progress_last_event_ms_ = now;
    const int value = progress_total_ == 0 ? 0
                                           : static_cast<int>(1000.0 * static_cast<double>(done) /
                                                              static_cast<double>(progress_total_));
    progress_->setValue(std::min(value, 999));
    QCoreApplication::processEvents();
    return !progress_->wasCanceled();
}

void qt_services::progress_end() {
    progress_.reset();
}

}  // namespace orvix

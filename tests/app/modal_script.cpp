// Answering modal windows from a timer that runs inside their own event loops.
#include "modal_script.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <sstream>

namespace orvix::test {

modal_script::modal_script(bool strict) : strict_(strict) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &modal_script::poll);
    timer_.start();
}

modal_script::~modal_script() {
    EXPECT_TRUE(!strict_ || queue_.empty()) << queue_.size() << " modal windows never came";
}

modal_script& modal_script::then(handler next) {
    queue_.push_back(std::move(next));
    return *this;
}

void modal_script::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (modal == last_) {  // its handler returned, yet it is open
        EXPECT_FALSE(strict_) << "left open: " << modal->windowTitle().toStdString();
        return cancel_anything(modal);
    }
    last_ = modal;
    seen_.push_back(modal->windowTitle().toStdString());
    if (queue_.empty()) {
        EXPECT_FALSE(strict_) << "unexpected: " << modal->windowTitle().toStdString();
        cancel_anything(modal);
        return;
    }
    handler next = std::move(queue_.front());
    queue_.pop_front();
    next(modal);
}

modal_script::handler answer_message(const QString& text, const QString& caption,
                                     QMessageBox::StandardButton button, QMessageBox::Icon icon) {
    return [=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QAbstractButton* answer = box != nullptr ? box->button(button) : nullptr;
        if (answer == nullptr) {
            ADD_FAILURE() << "no message box with that button: " << text.toStdString();
            return cancel_anything(modal);
        }
        EXPECT_EQ(box->text().toStdString(), text.toStdString());
        EXPECT_EQ(box->windowTitle().toStdString(), caption.toStdString());
        EXPECT_EQ(box->icon(), icon);
        answer->click();
    };
}

modal_script::handler choose_file(const QString& object_name, const QString& path) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        EXPECT_EQ(modal->objectName().toStdString(), object_name.toStdString());
        // (The dialog would refuse a file that does not exist with a message box of its own.)
        const bool refused =
            dialog == nullptr || path.isEmpty() ||
            (dialog->fileMode() == QFileDialog::ExistingFile && !QFile::exists(path));
        if (refused) return cancel_anything(modal);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // the file dialog checks the choice
    };
}

void cancel_anything(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* escape = box->escapeButton();
        if (escape == nullptr && !box->buttons().isEmpty()) escape = box->buttons().front();
        if (escape != nullptr) return escape->click();
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) return dialog->reject();
    modal->close();
}

std::vector<std::vector<std::string>> data_rows(const std::string& relative) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(read_data(relative));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        for (rows.emplace_back(); std::getline(fields, rows.back().emplace_back(), '\t');) {
        }
    }
    return rows;
}

}  // namespace orvix::test

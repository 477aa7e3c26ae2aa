// Answering modal windows from a timer that runs inside their own event loops.
#include "modal_script.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

namespace orvix::test {

modal_script::modal_script() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &modal_script::poll);
    timer_.start();
}

modal_script::~modal_script() {
    timer_.stop();
}

modal_script& modal_script::then(handler next) {
    queue_.push_back(std::move(next));
    return *this;
}

void modal_script::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == last_) return;
    last_ = modal;
    seen_.push_back(modal->windowTitle().toStdString());
    if (queue_.empty()) {
        unexpected_.push_back(modal->objectName().toStdString() + ": " +
                              modal->windowTitle().toStdString());
        cancel_anything()(modal);
        return;
    }
    handler next = std::move(queue_.front());
    queue_.pop_front();
    next(modal);
}

modal_script::handler answer_message(const QString& text, const QString& caption,
                                     QMessageBox::Icon icon, QMessageBox::StandardButton button) {
    return [=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            ADD_FAILURE() << "expected a message box, got " << modal->metaObject()->className();
            cancel_anything()(modal);
            return;
        }
        EXPECT_EQ(box->text().toStdString(), text.toStdString());
        EXPECT_EQ(box->windowTitle().toStdString(), caption.toStdString());
        EXPECT_EQ(box->icon(), icon);
        QAbstractButton* answer = box->button(button);
        if (answer == nullptr) {
            ADD_FAILURE() << "the box has no such button";
            cancel_anything()(modal);
            return;
        }
        answer->click();
    };
}

modal_script::handler answer_save_question(const QString& name,
                                           QMessageBox::StandardButton button) {
    return [=](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            EXPECT_EQ(box->standardButtons(),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        }
        answer_message(QStringLiteral("Save current changes in %1?").arg(name),
                       QStringLiteral("Orvix"), QMessageBox::Question, button)(modal);
    };
}

modal_script::handler acknowledge_error(const QString& text, const QString& caption) {
    return answer_message(text, caption, QMessageBox::Critical, QMessageBox::Ok);
}

modal_script::handler choose_file(const QString& object_name, const QString& path) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            ADD_FAILURE() << "expected a file dialog, got " << modal->metaObject()->className();
            cancel_anything()(modal);
            return;
        }
        EXPECT_EQ(dialog->objectName().toStdString(), object_name.toStdString());
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // the file dialog checks the choice
    };
}

modal_script::handler cancel_file_dialog(const QString& object_name) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        EXPECT_NE(dialog, nullptr) << modal->metaObject()->className();
        EXPECT_EQ(modal->objectName().toStdString(), object_name.toStdString());
        cancel_anything()(modal);
    };
}

modal_script::handler cancel_anything() {
    return [](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QAbstractButton* escape = box->escapeButton();
            if (escape == nullptr) escape = box->defaultButton();
            if (escape == nullptr && !box->buttons().isEmpty()) escape = box->buttons().front();
            if (escape != nullptr) {
                escape->click();
                return;
            }
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
            return;
        }
        modal->close();
    };
}

void settle(int milliseconds) {
    QTest::qWait(milliseconds);
}

}  // namespace orvix::test

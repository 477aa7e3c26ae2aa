// Helpers of the offscreen dialog tests: acting on a modal dialog once its own loop runs,
// finding its controls by object name, typing into a field, and the check every dialog must
// pass (its words, OK/Cancel/Help with OK the default, Help leaving it open).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/dialog_base.h"
#include "platform/scripted_services.h"

namespace orvix::test {

using dialog_script = std::function<void(orvix_dialog&)>;

// Runs `script` on the modal dialog once it is open (the dialog's own loop is running then).
inline void when_open(dialog_script script) {
    QTimer::singleShot(0, [script = std::move(script)] {
        auto* dialog = qobject_cast<orvix_dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no dialog open";
        script(*dialog);
    });
}

template <typename T>
T* child(orvix_dialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Replaces the field's text by typing, as a user would.
inline void type_into(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// A dialog as the user first sees it: its title, the words of its labels (any order) and
// radio buttons (in order, mnemonics included), and the Help topic it shows.
struct dialog_face {
    const char* title;
    std::function<dialog_result(services&)> run;
    std::vector<std::string> labels;
    std::vector<std::string> radios;
    const char* topic;
};

// Opens the dialog, reads what it shows, presses Help (the dialog must stay open) and then
// Cancel, and compares all that with `want`.
inline void expect_dialog_face(const dialog_face& want) {
    SCOPED_TRACE(want.title);
    scripted_services ui;
    std::vector<std::string> labels, radios, buttons;
    QString title;
    bool ok_is_default = false;
    when_open([&](orvix_dialog& dialog) {
        title = dialog.windowTitle();
        for (auto* label : dialog.findChildren<QLabel*>())
            labels.push_back(label->text().toStdString());
        for (auto* radio : dialog.findChildren<QRadioButton*>())
            radios.push_back(radio->text().toStdString());
        for (auto* button : dialog.findChildren<QPushButton*>())
            buttons.push_back(button->text().toStdString());
        ok_is_default = dialog.ok_button()->isDefault();
        dialog.help_button()->click();
        EXPECT_TRUE(dialog.isVisible()) << "Help leaves the dialog open";
        dialog.cancel_button()->click();
    });
    EXPECT_EQ(want.run(ui), dialog_result::cancel);
    EXPECT_EQ(title.toStdString(), want.title);
    std::vector<std::string> want_labels = want.labels;
    std::sort(labels.begin(), labels.end());
    std::sort(want_labels.begin(), want_labels.end());
    EXPECT_EQ(labels, want_labels);
    EXPECT_EQ(radios, want.radios);
    EXPECT_EQ(buttons, (std::vector<std::string>{"&OK", "&Cancel", "&Help"}));
    EXPECT_TRUE(ok_is_default);
    EXPECT_EQ(ui.help_topics, std::vector<std::string>{want.topic});
}

}  // namespace orvix::test

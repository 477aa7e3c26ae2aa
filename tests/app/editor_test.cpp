// The editor: a line break counts as the CR LF it becomes in a file, the limit holds for
// typing, line breaks, pasting and input methods (with "Edit control out of space!"), and
// only 8-bit text gets in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>
#include <sstream>

#include "app/main_window.h"
#include "modal_script.h"

namespace orvix {
namespace {

// The data file's text: \r, \n and \t for CR, LF and tab.
QString unescaped(const std::string& text) {
    QString plain = QString::fromUtf8(text);
    return plain.replace("\\r", "\r").replace("\\n", "\n").replace("\\t", "\t");
}

TEST(EditorLimit, WhatFitsGoesInAndTheRestIsRefusedWithAMessage) {
    for (const std::vector<std::string>& column : test::data_rows("app/editor.tsv")) {
        ASSERT_GE(column.size(), 6u) << column[0];
        SCOPED_TRACE(column[0]);
        main_window window;
        window.show();
        text_editor* editor = window.editor();
        // Lines of 40 bytes, then enough characters to leave the bytes free.
        const std::size_t free = std::stoul(column[1]);
        std::string before;
        while (before.size() + 60 < editor_limit - free) before += std::string(38, 'x') + "\r\n";
        before += std::string(editor_limit - free - before.size(), 'y');
        editor->set_bytes(before);
        editor->moveCursor(QTextCursor::End);
        window.document().modified = false;
        test::modal_script script;
        if (column[5] == "yes")
            script.then(test::answer_message("Edit control out of space!", "Orvix", QMessageBox::Ok,
                                             QMessageBox::Critical));
        std::istringstream steps(column[2]);
        for (std::string step; std::getline(steps, step, ';');) {
            const std::string verb = step.substr(0, step.find(' '));
            const QString text = unescaped(step.substr(verb.size() + 1));
            if (verb == "keys") QTest::keySequence(editor, QKeySequence(text));
            for (int i = 0; verb == "select" && i < text.toInt(); ++i)
                editor->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
            if (verb == "paste") QGuiApplication::clipboard()->setText(text);
            if (verb == "paste") editor->paste();
            QInputMethodEvent input;
            input.setCommitString(text);
            if (verb == "commit") QApplication::sendEvent(editor, &input);
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            if (verb == "type") QApplication::sendEvent(editor, &key);
        }
        const std::string after = before.substr(0, before.size() - std::stoul(column[3])) +
                                  unescaped(column[4]).toLatin1().toStdString();
        EXPECT_EQ(editor->bytes(), after);
        EXPECT_EQ(editor->length(), after.size());
        EXPECT_EQ(window.document().modified, after != before);
    }
    QGuiApplication::clipboard()->clear();
}

}  // namespace
}  // namespace orvix

// The editor: a line break counts as the CR LF it becomes in a file, the limit holds for
// typing, line breaks, pasting and input methods (with "Edit control out of space!"), and
// only 8-bit text gets in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

#include "app/main_window.h"
#include "modal_script.h"

namespace orvix {
namespace {

TEST(EditorText, LengthsPrefixesAndEightBitText) {
    const QString para(QChar::ParagraphSeparator);
    const struct {
        QString text;
        std::size_t length, room;
        QString fits;
    } cases[] = {{"", 0, 0, ""},
                 {"abcdef", 6, 4, "abcd"},
                 {"ab\r\ncd", 6, 3, "ab"},
                 {"a\r\nb", 4, 3, "a\r\n"},
                 {"a\nb", 4, 2, "a"},
                 {"a\rb", 4, 9, "a\rb"},
                 {"a" + para, 3, 9, "a" + para}};
    for (const auto& c : cases) {
        EXPECT_EQ(file_length(c.text), c.length) << c.text.toStdString();
        EXPECT_EQ(fitting_prefix(c.text, c.room), c.fits) << c.text.toStdString();
    }
    EXPECT_EQ(eight_bit_text("\u00e9\u20ac\u00ff\u2028\u2029").toLatin1().toStdString(),
              "\xe9?\xff\n\n");
}

void press(text_editor* editor, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(editor, key, modifiers);
}

void commit(text_editor* editor, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(editor, &event);
}

void paste(text_editor* editor, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    editor->paste();
}

TEST(EditorLimit, WhatFitsGoesInAndTheRestIsRefusedWithAMessage) {
    const struct {
        const char* name;
        std::size_t free;
        std::function<void(text_editor*)> input;
        std::size_t removed;  // bytes at the end
        std::string inserted;
        bool message;
    } cases[] = {
        {"last character", 1, [](text_editor* e) { press(e, Qt::Key_A); }, 0, "a", false},
        {"one too many", 0, [](text_editor* e) { press(e, Qt::Key_A); }, 0, "", true},
        {"full: Backspace", 0, [](text_editor* e) { press(e, Qt::Key_Backspace); }, 1, "", false},
        {"full: typing over a selection", 0,
         [](text_editor* e) {
             e->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
             press(e, Qt::Key_C);
         },
         1, "c", false},
        {"a line break needs two", 1, [](text_editor* e) { press(e, Qt::Key_Return); }, 0, "",
         true},
        {"line break", 2, [](text_editor* e) { press(e, Qt::Key_Return); }, 0, "\r\n", false},
        {"Shift+Enter", 2, [](text_editor* e) { press(e, Qt::Key_Return, Qt::ShiftModifier); }, 0,
         "\r\n", false},
        {"a tab counts one", 1, [](text_editor* e) { press(e, Qt::Key_Tab); }, 0, "\t", false},
        {"paste cut short", 2, [](text_editor* e) { paste(e, "abc"); }, 0, "ab", true},
        {"paste keeps CR LF whole", 2, [](text_editor* e) { paste(e, "a\r\nb"); }, 0, "a", true},
        {"paste not 8-bit", 9, [](text_editor* e) { paste(e, "\u20ac1\n"); }, 0, "?1\r\n", false},
        {"input method too long", 1, [](text_editor* e) { commit(e, "ab"); }, 0, "", true},
        {"input method not 8-bit", 1, [](text_editor* e) { commit(e, "\u0151"); }, 0, "?", false},
        {"typed not 8-bit", 9,
         [](text_editor* e) {
             for (const char* typed : {"\u00e9", "\u03b1"}) {
                 QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
                 QApplication::sendEvent(e, &key);
             }
         },
         0, "\xe9?", false},
        // An Alt chord is a command (a menu's mnemonic, or nothing), never text.
        {"Alt chords type nothing", 9,
         [](text_editor* e) {
             press(e, Qt::Key_Y, Qt::AltModifier);
             press(e, Qt::Key_1, Qt::AltModifier | Qt::ShiftModifier);
         },
         0, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window window;
        window.show();
        // Lines of 40 bytes, then enough characters to leave `free` bytes.
        std::string before;
        while (before.size() + 60 < editor_limit - c.free) before += std::string(38, 'x') + "\r\n";
        before += std::string(editor_limit - c.free - before.size(), 'y');
        window.editor()->set_bytes(before);
        window.editor()->moveCursor(QTextCursor::End);
        window.document().modified = false;
        const std::string after = before.substr(0, before.size() - c.removed) + c.inserted;
        test::modal_script script;
        if (c.message)
            script.then(test::answer_message("Edit control out of space!", "Orvix", QMessageBox::Ok,
                                             QMessageBox::Critical));
        c.input(window.editor());
        EXPECT_EQ(window.editor()->bytes(), after);
        EXPECT_EQ(window.editor()->length(), after.size());
        // (A refused input method commit still marks the text changed: left as it is.)
        EXPECT_EQ(window.document().modified,
                  after != before || c.name == std::string_view("input method too long"));
    }
    QGuiApplication::clipboard()->clear();
}

}  // namespace
}  // namespace orvix

// The editor: a line break counts as the CR LF it becomes in a file, the limit holds for
// typing, line breaks, pasting and input methods (with "Edit control out of space!"), and
// only 8-bit text gets in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
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
    } cases[] = {
        {"", 0, 0, ""},
        {"abcdef", 6, 4, "abcd"},
        {"ab\r\ncd", 6, 3, "ab"},
        {"ab\r\ncd", 6, 4, "ab\r\n"},
        {"a\nb", 4, 2, "a"},
        {"a\rb", 4, 9, "a\rb"},
        {"a" + para, 3, 9, "a" + para},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(file_length(c.text), c.length);
        EXPECT_EQ(fitting_prefix(c.text, c.room), c.fits);
    }
    EXPECT_EQ(eight_bit_text(QStringLiteral("\u00e9\u20ac\u00ff")).toLatin1().toStdString(),
              "\xe9?\xff");
    EXPECT_EQ(eight_bit_text(QStringLiteral("a\u2028b\u2029c")), QStringLiteral("a\nb\nc"));
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
        std::string inserted;
        bool message;
    } cases[] = {
        {"last character", 1, [](text_editor* e) { press(e, Qt::Key_A); }, "a", false},
        {"one too many", 0, [](text_editor* e) { press(e, Qt::Key_A); }, "", true},
        {"a line break needs two", 1, [](text_editor* e) { press(e, Qt::Key_Return); }, "", true},
        {"line break", 2, [](text_editor* e) { press(e, Qt::Key_Return); }, "\r\n", false},
        {"Shift+Enter is a line", 2,
         [](text_editor* e) { press(e, Qt::Key_Return, Qt::ShiftModifier); }, "\r\n", false},
        {"a tab counts one", 1, [](text_editor* e) { press(e, Qt::Key_Tab); }, "\t", false},
        {"paste cut short", 2, [](text_editor* e) { paste(e, "abc"); }, "ab", true},
        {"paste keeps CR LF whole", 2, [](text_editor* e) { paste(e, "a\r\nb"); }, "a", true},
        {"paste not 8-bit", 9, [](text_editor* e) { paste(e, "\u20ac1\n"); }, "?1\r\n", false},
        {"input method too long", 1, [](text_editor* e) { commit(e, "ab"); }, "", true},
        {"input method not 8-bit", 1, [](text_editor* e) { commit(e, "\u0151"); }, "?", false},
        {"typed not 8-bit", 9,
         [](text_editor* e) {
             for (const QString& typed : {QStringLiteral("\u00e9"), QStringLiteral("\u03b1")}) {
                 QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
                 QApplication::sendEvent(e, &key);
             }
         },
         "\xe9?", false},
        // An Alt chord is a command (a menu's mnemonic, or nothing), never text.
        {"Alt chords type nothing", 9,
         [](text_editor* e) {
             for (const Qt::Key key : {Qt::Key_Y, Qt::Key_1}) {
                 press(e, key, Qt::AltModifier);
                 press(e, key, Qt::AltModifier | Qt::ShiftModifier);
             }
         },
         "", false},
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
        test::modal_script script;
        if (c.message)
            script.then(test::answer_message(QStringLiteral("Edit control out of space!"),
                                             QStringLiteral("Orvix"), QMessageBox::Ok,
                                             QMessageBox::Critical));
        c.input(window.editor());
        QTest::qWait(10);
        EXPECT_EQ(window.editor()->bytes(), before + c.inserted);
        EXPECT_EQ(window.editor()->length(), before.size() + c.inserted.size());
        // (A refused input method commit still marks the text changed: left as it is.)
        EXPECT_EQ(window.document().modified,
                  !c.inserted.empty() || c.name == std::string_view("input method too long"));
    }
    QGuiApplication::clipboard()->clear();
}

TEST(EditorLimit, FullEditorStillDeletesAndReplaces) {
    main_window window;
    window.editor()->set_bytes(std::string(editor_limit, 'x'));
    window.editor()->moveCursor(QTextCursor::End);
    test::modal_script script;
    QTest::keyClick(window.editor(), Qt::Key_Backspace);
    EXPECT_EQ(window.editor()->length(), editor_limit - 1);
    QTest::keyClick(window.editor(), Qt::Key_B);
    window.editor()->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
    QTest::keyClick(window.editor(), Qt::Key_C);  // over a selection of one
    EXPECT_EQ(window.editor()->bytes(), std::string(editor_limit - 1, 'x') + "c");
    EXPECT_TRUE(script.seen().empty());
}

}  // namespace
}  // namespace orvix

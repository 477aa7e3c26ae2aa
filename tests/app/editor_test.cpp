// The editor: its limit of 32000 characters (a line break counting as CR LF) for typing,
// line breaks, pasting and input methods, with "Edit control out of space!"; 8-bit text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include "app/main_window.h"
#include "modal_script.h"

namespace orvix {
namespace {

using test::modal_script;

TEST(EditorText, FileLengthCountsLineBreaksAsTwo) {
    struct case_t {
        const char* name;
        QString text;
        std::size_t length;
    } cases[] = {
        {"empty", QString(), 0},
        {"plain", QStringLiteral("abc"), 3},
        {"LF", QStringLiteral("a\nb"), 4},
        {"CR LF", QStringLiteral("a\r\nb"), 4},
        {"lone CR", QStringLiteral("a\rb"), 4},
        {"paragraph separator", QStringLiteral("a") + QChar(QChar::ParagraphSeparator), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(file_length(c.text), c.length);
    }
}

TEST(EditorText, FittingPrefixNeverSplitsALineEnd) {
    struct case_t {
        const char* name;
        QString text;
        std::size_t room;
        QString fits;
    } cases[] = {
        {"all fits", QStringLiteral("abc"), 5, QStringLiteral("abc")},
        {"cut", QStringLiteral("abcdef"), 4, QStringLiteral("abcd")},
        {"CR LF not split", QStringLiteral("ab\r\ncd"), 3, QStringLiteral("ab")},
        {"CR LF whole", QStringLiteral("ab\r\ncd"), 4, QStringLiteral("ab\r\n")},
        {"LF needs two", QStringLiteral("a\nb"), 2, QStringLiteral("a")},
        {"no room", QStringLiteral("a"), 0, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fitting_prefix(c.text, c.room).toStdString(), c.fits.toStdString());
    }
}

TEST(EditorText, EightBitTextReplacesWhatNoFileCanHold) {
    EXPECT_EQ(eight_bit_text(QStringLiteral("\u00e9\u20ac\u00ff")).toLatin1().toStdString(),
              "\xe9?\xff");
    EXPECT_EQ(eight_bit_text(QStringLiteral("a\u2028b\u2029c")).toStdString(), "a\nb\nc");
}

// A window whose editor is `free` bytes short of full.
struct near_full {
    explicit near_full(std::size_t free) {
        window.show();
        window.activateWindow();
        // Lines of 40 bytes, then at least one character, so that the text does not end in
        // a line break.
        const std::size_t lines = (editor_limit - free - 1) / 40;
        std::string bytes;
        for (std::size_t i = 0; i < lines; ++i) bytes += std::string(38, 'x') + "\r\n";
        bytes += std::string(editor_limit - free - bytes.size(), 'y');
        window.editor()->set_bytes(bytes);
        window.editor()->moveCursor(QTextCursor::End);
        window.document().modified = false;
        EXPECT_EQ(window.editor()->length(), editor_limit - free);
    }
    main_window window;
};

TEST(EditorLimit, TypingStopsAtTheLimitWithAMessage) {
    struct case_t {
        const char* name;
        std::size_t free;
        std::function<void(text_editor*)> input;
        std::size_t grows_by;  // 0: refused with the message
    } cases[] = {
        {"last character fits", 1, [](text_editor* e) { QTest::keyClick(e, Qt::Key_A); }, 1},
        {"one too many is refused", 0, [](text_editor* e) { QTest::keyClick(e, Qt::Key_A); }, 0},
        {"a line break needs two", 1, [](text_editor* e) { QTest::keyClick(e, Qt::Key_Return); },
         0},
        {"a line break in two fits", 2, [](text_editor* e) { QTest::keyClick(e, Qt::Key_Return); },
         2},
        {"Shift+Enter makes an ordinary line", 2,
         [](text_editor* e) { QTest::keyClick(e, Qt::Key_Return, Qt::ShiftModifier); }, 2},
        {"a tab counts one", 1, [](text_editor* e) { QTest::keyClick(e, Qt::Key_Tab); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        near_full f(c.free);
        const std::size_t before = f.window.editor()->length();
        modal_script script;
        if (c.grows_by == 0)
            script.then(test::acknowledge_error(QStringLiteral("Edit control out of space!"),
                                                QStringLiteral("Orvix")));
        c.input(f.window.editor());
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_TRUE(script.unexpected().empty());
        EXPECT_EQ(f.window.editor()->length(), before + c.grows_by);
        EXPECT_EQ(f.window.document().modified, c.grows_by != 0);
        EXPECT_EQ(f.window.editor()->bytes().size(), f.window.editor()->length());
    }
}

TEST(EditorLimit, FullEditorStillDeletesAndReplaces) {
    near_full f(0);
    modal_script script;
    QTest::keyClick(f.window.editor(), Qt::Key_Backspace);
    EXPECT_EQ(f.window.editor()->length(), editor_limit - 1);
    QTest::keyClick(f.window.editor(), Qt::Key_B);
    EXPECT_EQ(f.window.editor()->length(), editor_limit);
    // Typing over a selection of one character replaces it.
    f.window.editor()->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
    QTest::keyClick(f.window.editor(), Qt::Key_C);
    EXPECT_EQ(f.window.editor()->length(), editor_limit);
    EXPECT_EQ(f.window.editor()->bytes().back(), 'c');
    EXPECT_TRUE(script.seen().empty());
}

TEST(EditorLimit, PasteInsertsWhatFitsAndSaysSo) {
    struct case_t {
        const char* name;
        std::size_t free;
        QString clipboard;
        std::string inserted;
        bool message;
    } cases[] = {
        {"fits whole", 10, QStringLiteral("abc"), "abc", false},
        {"cut short", 2, QStringLiteral("abc"), "ab", true},
        {"line end not split", 2, QStringLiteral("a\r\nb"), "a", true},
        {"line end fits whole", 3, QStringLiteral("a\r\nb"), "a\r\n", true},
        {"nothing fits", 0, QStringLiteral("abc"), "", true},
        {"not 8-bit becomes ?", 10, QStringLiteral("\u20ac1"), "?1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        near_full f(c.free);
        const std::string before = f.window.editor()->bytes();
        QGuiApplication::clipboard()->setText(c.clipboard);
        modal_script script;
        if (c.message)
            script.then(test::acknowledge_error(QStringLiteral("Edit control out of space!"),
                                                QStringLiteral("Orvix")));
        f.window.dispatch_command(cmd::edit_paste);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_TRUE(script.unexpected().empty());
        const std::string after = f.window.editor()->bytes();
        ASSERT_EQ(after.size(), before.size() + c.inserted.size());
        EXPECT_EQ(after.substr(0, before.size()) == before, true);
        EXPECT_EQ(after.substr(before.size()), c.inserted);
    }
    QGuiApplication::clipboard()->clear();
}

TEST(EditorLimit, InputMethodCommitIsLimited) {
    near_full f(1);
    QSignalSpy refused(f.window.editor(), &text_editor::out_of_space);
    modal_script script;
    script.then(test::acknowledge_error(QStringLiteral("Edit control out of space!"),
                                        QStringLiteral("Orvix")));
    QInputMethodEvent two;
    two.setCommitString(QStringLiteral("ab"));
    QApplication::sendEvent(f.window.editor(), &two);
    EXPECT_EQ(refused.count(), 1);
    EXPECT_EQ(f.window.editor()->length(), editor_limit - 1);
    QInputMethodEvent one;
    one.setCommitString(QStringLiteral("\u0151"));
    QApplication::sendEvent(f.window.editor(), &one);
    EXPECT_EQ(f.window.editor()->length(), editor_limit);
    EXPECT_EQ(f.window.editor()->bytes().back(), '?');
}

TEST(EditorText, TypedCharactersOutsideLatin1BecomeQuestionMarks) {
    main_window window;
    window.show();
    for (const QString& typed : {QStringLiteral("\u00e9"), QStringLiteral("\u03b1")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(window.editor(), &key);
    }
    EXPECT_EQ(window.ui().editor_text(), "\xe9?");
}

// An Alt chord is a command (a menu's mnemonic, or nothing), never text.
TEST(EditorText, AltChordsTypeNothing) {
    main_window window;
    window.show();
    for (const Qt::Key key : {Qt::Key_Y, Qt::Key_Q, Qt::Key_1}) {
        QTest::keyClick(window.editor(), key, Qt::AltModifier);
        QTest::keyClick(window.editor(), key, Qt::AltModifier | Qt::ShiftModifier);
    }
    QTest::keyClick(window.editor(), Qt::Key_Y);  // the same key without Alt types
    EXPECT_EQ(window.ui().editor_text(), "y");
}

}  // namespace
}  // namespace orvix

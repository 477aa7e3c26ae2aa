// The documents through the real message boxes and file dialogs: the save question on New,
// Open and close, Open near the size limit, Save as cancelled, Save of an empty text, and
// the 8-bit round trip of a file through the editor.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "modal_script.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::modal_script;
using test::read_file;
using test::scratch_dir;
using test::write_file;

QString q(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

enum class pending_command { new_document, open, close };

struct question_case {
    const char* name;
    QMessageBox::StandardButton reply;
    enum { none, save_to, save_cancelled, save_fails } save;
    bool goes_ahead;
};

const question_case question_cases[] = {
    {"Cancel", QMessageBox::Cancel, question_case::none, false},
    {"No", QMessageBox::No, question_case::none, true},
    {"Yes and a file chosen", QMessageBox::Yes, question_case::save_to, true},
    {"Yes and the dialog cancelled", QMessageBox::Yes, question_case::save_cancelled, false},
    {"Yes and the save failing", QMessageBox::Yes, question_case::save_fails, false},
};

TEST(SaveQuestionGui, NewOpenAndCloseFollowTheAnswer) {
    const struct {
        const char* name;
        pending_command command;
    } commands[] = {{"New", pending_command::new_document},
                    {"Open", pending_command::open},
                    {"close", pending_command::close}};
    for (const auto& command : commands) {
        for (const auto& c : question_cases) {
            SCOPED_TRACE(std::string(command.name) + ": " + c.name);
            scratch_dir dir;
            write_file(dir.file("other.cry"), "O1 0 0 0\r\n");
            main_window window;
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            QTest::keyClicks(window.editor(), QStringLiteral("Si1 0.5 0.5 0.5"));
            ASSERT_TRUE(window.document().modified);

            modal_script script;
            script.then(test::answer_save_question(QString(), c.reply));
            const std::string saved = dir.file("saved.cry");
            switch (c.save) {
                case question_case::none:
                    break;
                case question_case::save_to:
                    script.then(test::choose_file(QStringLiteral("save_file_dialog"), q(saved)));
                    break;
                case question_case::save_cancelled:
                    script.then(test::cancel_file_dialog(QStringLiteral("save_file_dialog")));
                    break;
                case question_case::save_fails:
                    script.then(test::choose_file(QStringLiteral("save_file_dialog"),
                                                  q(dir.file("missing/saved.cry"))));
                    script.then(test::acknowledge_error(QStringLiteral("Error creating file!"),
                                                        q(dir.file("missing/saved.cry"))));
                    break;
            }
            if (c.goes_ahead && command.command == pending_command::open)
                script.then(test::choose_file(QStringLiteral("open_file_dialog"),
                                              q(dir.file("other.cry"))));

            bool closed = false;
            switch (command.command) {
                case pending_command::new_document:
                    window.dispatch_command(cmd::file_new);
                    break;
                case pending_command::open:
                    window.dispatch_command(cmd::file_open);
                    break;
                case pending_command::close:
                    closed = window.close();
                    break;
            }
            EXPECT_EQ(script.pending(), 0u);
            EXPECT_TRUE(script.unexpected().empty());

            if (c.save == question_case::save_to) {
                EXPECT_EQ(read_file(saved), "Si1 0.5 0.5 0.5");
            }
            const std::string text = window.editor()->toPlainText().toStdString();
            if (!c.goes_ahead) {
                EXPECT_EQ(text, "Si1 0.5 0.5 0.5");
                EXPECT_TRUE(window.document().modified);
                EXPECT_FALSE(closed);
                EXPECT_TRUE(window.isVisible());
                continue;
            }
            switch (command.command) {
                case pending_command::new_document:
                    EXPECT_EQ(text, "");
                    EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - (untitled)");
                    EXPECT_FALSE(window.document().modified);
                    break;
                case pending_command::open:
                    EXPECT_EQ(text, "O1 0 0 0\n");
                    EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - other.cry");
                    EXPECT_FALSE(window.document().modified);
                    break;
                case pending_command::close:
                    EXPECT_TRUE(closed);
                    EXPECT_FALSE(window.isVisible());
                    break;
            }
        }
    }
}

TEST(SaveQuestionGui, UnchangedTextNeverAsks) {
    scratch_dir dir;
    write_file(dir.file("a.cry"), "x");
    main_window window;
    window.show();
    ASSERT_TRUE(window.open_file(dir.file("a.cry")));
    modal_script script;
    window.dispatch_command(cmd::file_new);
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(script.seen().empty());
}

TEST(OpenGui, NearTheSizeLimit) {
    struct case_t {
        const char* name;
        std::size_t size;
        bool opens;
    } cases[] = {
        {"31999 bytes", 31999, true},
        {"32000 bytes", 32000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        std::string content;
        for (std::size_t i = 0; i < c.size; ++i)
            content.push_back(i % 50 == 47 ? '\r' : i % 50 == 48 ? '\n' : 'x');
        const std::string path = dir.file("big.cry");
        write_file(path, content);
        main_window window;
        window.show();
        QTest::keyClicks(window.editor(), QStringLiteral("kept"));
        window.document().modified = false;

        modal_script script;
        script.then(test::choose_file(QStringLiteral("open_file_dialog"), q(path)));
        if (!c.opens) {
            script.then(
                test::acknowledge_error(QStringLiteral("Edit control out of space!"), q(path)));
            script.then(test::acknowledge_error(QStringLiteral("Could not read file!"),
                                                QStringLiteral("big.cry")));
        }
        window.dispatch_command(cmd::file_open);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_TRUE(script.unexpected().empty());
        if (c.opens) {
            EXPECT_EQ(window.editor()->bytes(), content);
            EXPECT_EQ(window.editor()->length(), c.size);
            EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - big.cry");
        } else {
            EXPECT_EQ(window.editor()->toPlainText().toStdString(), "kept");
            EXPECT_EQ(window.document().current_path, "");
            EXPECT_EQ(window.document().current_name, "");
            EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - (untitled)");
        }
    }
}

TEST(SaveAsGui, CancelledLeavesCaptionAndText) {
    scratch_dir dir;
    write_file(dir.file("a.cry"), "x");
    main_window window;
    window.show();
    ASSERT_TRUE(window.open_file(dir.file("a.cry")));
    QTest::keyClicks(window.editor(), QStringLiteral("y"));
    modal_script script;
    script.then(test::cancel_file_dialog(QStringLiteral("save_file_dialog")));
    window.dispatch_command(cmd::file_save_as);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - a.cry");
    EXPECT_TRUE(window.document().modified);
    EXPECT_EQ(read_file(dir.file("a.cry")), "x");
}

TEST(SaveAsGui, DefaultSuffixAndCrLf) {
    scratch_dir dir;
    main_window window;
    window.show();
    QTest::keyClicks(window.editor(), QStringLiteral("a 1 2 3"));
    QTest::keyClick(window.editor(), Qt::Key_Return);
    QTest::keyClicks(window.editor(), QStringLiteral("b 4 5 6"));
    modal_script script;
    script.then(test::choose_file(QStringLiteral("save_file_dialog"), q(dir.file("notes"))));
    window.dispatch_command(cmd::file_save_as);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(read_file(dir.file("notes.cry")), "a 1 2 3\r\nb 4 5 6");
    EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - notes.cry");
    EXPECT_FALSE(window.document().modified);
}

TEST(SaveGui, EmptyTextLeavesAnEmptyFile) {
    scratch_dir dir;
    write_file(dir.file("a.cry"), "old");
    main_window window;
    window.show();
    ASSERT_TRUE(window.open_file(dir.file("a.cry")));
    window.editor()->selectAll();
    QTest::keyClick(window.editor(), Qt::Key_Delete);
    ASSERT_TRUE(window.document().modified);
    modal_script script;
    script.then(test::answer_save_question(QStringLiteral("a.cry"), QMessageBox::Yes));
    script.then(test::acknowledge_error(QStringLiteral("text length is zero"), QString()));
    window.dispatch_command(cmd::file_new);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.cry")));
    EXPECT_EQ(read_file(dir.file("a.cry")), "");
    EXPECT_TRUE(window.document().modified) << "the save failed, so New did not go ahead";
}

TEST(RoundTrip, EightBitFileComesBackByteForByte) {
    struct case_t {
        const char* name;
        std::string file;
        std::string saved;
    };
    std::string every_byte;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n') continue;
        every_byte.push_back(static_cast<char>(b));
        if (b % 32 == 0) every_byte += "\r\n";
    }
    const case_t cases[] = {
        {"every byte but zero, CR LF lines", every_byte, every_byte},
        {"no-break spaces stay",
         "a\xa0"
         "b\r\n\xa0\r\n",
         "a\xa0"
         "b\r\n\xa0\r\n"},
        {"bare LF lines are saved with CR LF", "a\nb\n", "a\r\nb\r\n"},
        {"a last line without an end stays so", "a\r\nb", "a\r\nb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        write_file(dir.file("in.cry"), c.file);
        main_window window;
        ASSERT_TRUE(window.open_file(dir.file("in.cry")));
        EXPECT_EQ(window.ui().editor_text(), c.saved);
        window.document().current_path = dir.file("out.cry");
        window.dispatch_command(cmd::file_save);
        EXPECT_EQ(read_file(dir.file("out.cry")), c.saved);
        EXPECT_FALSE(window.document().modified);
    }
}

TEST(RoundTrip, FailedOpenKeepsAskingOnExit) {
    // The mended fault: "No" to the question and a cancelled Open must not make Exit forget
    // the changed text.
    main_window window;
    window.show();
    QTest::keyClicks(window.editor(), QStringLiteral("changed"));
    modal_script script;
    script.then(test::answer_save_question(QString(), QMessageBox::No));
    script.then(test::cancel_file_dialog(QStringLiteral("open_file_dialog")));
    script.then(test::answer_save_question(QString(), QMessageBox::Cancel));
    window.dispatch_command(cmd::file_open);
    window.dispatch_command(cmd::file_exit);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.editor()->toPlainText().toStdString(), "changed");
}

}  // namespace
}  // namespace orvix

// The documents through the real message boxes and file dialogs: the save question and its
// answers, Save as with its filters, default suffix and folder, and the 8-bit round trip of a
// file through the editor.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "modal_script.h"

namespace orvix {
namespace {

using test::choose_file;
using test::modal_script;
using test::read_file;
using test::scratch_dir;
using test::write_file;

QString q(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

TEST(Documents, TheSaveQuestionDecidesWhatHappens) {
    const struct {
        const char* name;
        int command;  // 0: closing the window
        QMessageBox::StandardButton reply;
        bool save_to_file;  // Yes: the file dialog chooses a file (else it is cancelled)
        std::string text;   // afterwards; "" when the window has closed
        const char* caption;
    } cases[] = {
        {"New, No", cmd::file_new, QMessageBox::No, false, "", "(untitled)"},
        {"Open, Yes and saved", cmd::file_open, QMessageBox::Yes, true, "O1 0 0 0\n", "other.cry"},
        {"Exit, Yes and Save as cancelled", cmd::file_exit, QMessageBox::Yes, false, "Si1 0.5",
         "(untitled)"},
        {"close, Cancel", 0, QMessageBox::Cancel, false, "Si1 0.5", "(untitled)"},
        {"close, No", 0, QMessageBox::No, false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        write_file(dir.file("other.cry"), "O1 0 0 0\r\n");
        main_window window;
        window.show();
        QTest::keyClicks(window.editor(), QStringLiteral("Si1 0.5"));
        modal_script script;
        script.then(test::answer_save_question(QString(), c.reply));
        if (c.reply == QMessageBox::Yes)
            script.then(
                choose_file("save_file_dialog", c.save_to_file ? q(dir.file("saved.cry")) : ""));
        if (c.command == cmd::file_open)
            script.then(choose_file("open_file_dialog", q(dir.file("other.cry"))));
        const bool closed =
            c.command == 0 ? window.close() : (window.dispatch_command(c.command), false);
        EXPECT_EQ(c.save_to_file ? read_file(dir.file("saved.cry")) : "Si1 0.5", "Si1 0.5");
        if (*c.caption == 0) {
            EXPECT_TRUE(closed);
            continue;
        }
        EXPECT_EQ(window.editor()->toPlainText().toStdString(), c.text);
        EXPECT_EQ(window.windowTitle().toStdString(), std::string("Orvix - ") + c.caption);
        EXPECT_EQ(window.document().modified, c.text == "Si1 0.5");
        EXPECT_TRUE(window.isVisible());
    }
}

TEST(Documents, SaveAsAddsTheSuffixAndTheNextDialogStartsThere) {
    scratch_dir dir;
    main_window window;
    window.show();
    QTest::keyClicks(window.editor(), QStringLiteral("a 1"));
    QTest::keyClick(window.editor(), Qt::Key_Return);
    QTest::keyClicks(window.editor(), QStringLiteral("b 2"));
    modal_script script;
    script.then(choose_file("save_file_dialog", q(dir.file("notes"))));
    std::vector<std::string> offered;
    QString directory;
    int chosen = -1;
    script.then([&](QWidget* modal) {
        directory = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
        auto* types = modal->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; types != nullptr && i < types->count(); ++i)
            offered.push_back(types->itemText(i).toStdString());
        chosen = types != nullptr ? types->currentIndex() : -1;
        test::cancel_anything(modal);
    });
    window.dispatch_command(cmd::file_save_as);
    window.dispatch_command(cmd::file_open);
    EXPECT_EQ(read_file(dir.file("notes.cry")), "a 1\r\nb 2");
    EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - notes.cry");
    EXPECT_FALSE(window.document().modified);
    EXPECT_EQ(directory.toStdString(), std::filesystem::canonical(dir.path()).string());
    // The descriptions exactly as the record gives them, blanks and all.
    file_dialog_record record;
    reset_file_dialog_record(record);
    std::vector<std::string> descriptions;
    for (const auto& [description, pattern] : record.filters) descriptions.push_back(description);
    EXPECT_EQ(offered, descriptions);
    EXPECT_EQ(chosen, record.filter_index);
}

TEST(Documents, EightBitFileComesBackByteForByte) {
    std::string every_byte;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') every_byte.push_back(static_cast<char>(b));
        if (b % 32 == 0) every_byte += "\r\n";
    }
    const struct {
        std::string file, saved;
    } cases[] = {
        {every_byte, every_byte},
        {"a\xa0"
         "b\r\n\xa0\r\n",
         "a\xa0"
         "b\r\n\xa0\r\n"},  // no-break spaces stay
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        scratch_dir dir;
        write_file(dir.file("in.cry"), c.file);
        main_window window;
        ASSERT_TRUE(window.open_file(dir.file("in.cry")));
        window.document().current_path = dir.file("out.cry");
        window.dispatch_command(cmd::file_save);
        EXPECT_EQ(read_file(dir.file("out.cry")), c.saved);
        EXPECT_FALSE(window.document().modified);
    }
}

}  // namespace
}  // namespace orvix

// The documents through the real message boxes and file dialogs: the save question and its
// answers, the file dialogs' filters, default suffix and folder, and the 8-bit round trip of a
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

using test::read_file;

QString q(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

TEST(Documents, TheSaveQuestionDecidesWhatHappens) {
    const struct {
        const char* name;
        int command;  // 0: closing the window
        QMessageBox::StandardButton reply;
        const char* saved_as;  // Yes: the name chosen in the save dialog ("": cancelled)
        std::string text;      // afterwards; "" when the window has closed
        const char* caption;
    } cases[] = {
        {"New, No", cmd::file_new, QMessageBox::No, "", "", "(untitled)"},
        {"Open, Yes and saved", cmd::file_open, QMessageBox::Yes, "saved", "O1\n", "other.cry"},
        {"Exit, Yes and Save as cancelled", cmd::file_exit, QMessageBox::Yes, "", "Si1\nb",
         "(untitled)"},
        {"close, Cancel", 0, QMessageBox::Cancel, "", "Si1\nb", "(untitled)"},
        {"close, No", 0, QMessageBox::No, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        test::write_file(dir.file("other.cry"), "O1\r\n");
        main_window window;
        window.show();
        QTest::keyClicks(window.editor(), QStringLiteral("Si1"));
        QTest::keyClick(window.editor(), Qt::Key_Return);
        QTest::keyClicks(window.editor(), QStringLiteral("b"));
        test::modal_script script;
        script.then(test::answer_message(QStringLiteral("Save current changes in ?"), "Orvix",
                                         c.reply, QMessageBox::Question));
        if (c.reply == QMessageBox::Yes)
            script.then(
                test::choose_file("save_file_dialog", *c.saved_as ? q(dir.file(c.saved_as)) : ""));
        std::vector<std::string> offered;  // the open dialog's filters, the one chosen marked
        QString folder;
        if (c.command == cmd::file_open)
            script.then([&](QWidget* modal) {
                folder = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
                auto* types = modal->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                for (int i = 0; i < types->count(); ++i)
                    offered.push_back(types->itemText(i).toStdString() +
                                      (i == types->currentIndex() ? "<" : ""));
                test::choose_file("open_file_dialog", q(dir.file("other.cry")))(modal);
            });
        const bool closed =
            c.command == 0 ? window.close() : (window.dispatch_command(c.command), false);
        if (*c.saved_as) {
            // The default suffix, CR LF line ends; the next dialog starts in the folder chosen.
            EXPECT_EQ(read_file(dir.file("saved.cry")), "Si1\r\nb");
            EXPECT_EQ(folder.toStdString(), std::filesystem::canonical(dir.path()).string());
            // The descriptions exactly as the record gives them, blanks and all.
            file_dialog_record record;
            reset_file_dialog_record(record);
            std::vector<std::string> descriptions;
            for (const auto& [description, pattern] : record.filters)
                descriptions.push_back(
                    description +
                    (descriptions.size() == std::size_t(record.filter_index) ? "<" : ""));
            EXPECT_EQ(offered, descriptions);
        }
        EXPECT_EQ(closed, *c.caption == 0);
        if (closed) continue;
        EXPECT_EQ(window.editor()->toPlainText().toStdString(), c.text);
        EXPECT_EQ(window.windowTitle().toStdString(), std::string("Orvix - ") + c.caption);
        EXPECT_EQ(window.document().modified, c.text == "Si1\nb");
        EXPECT_TRUE(window.isVisible());
    }
}

// Every byte but zero comes back as it was, the line ends as CR LF.
TEST(Documents, EightBitFileComesBackByteForByte) {
    test::scratch_dir dir;
    main_window window;
    ASSERT_TRUE(window.open_file(test::data_path("app/round_trip_in.cry")));
    window.document().current_path = dir.file("out.cry");
    window.dispatch_command(cmd::file_save);
    EXPECT_EQ(read_file(dir.file("out.cry")), test::read_data("app/round_trip_saved.cry"));
    EXPECT_FALSE(window.document().modified);
}

}  // namespace
}  // namespace orvix

// The dialog convention every parameter dialog follows, the number fields, the file dialogs
// as configured from the file-dialog record, and the progress dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <limits>

#include "app/dialog_base.h"
#include "app/main_window.h"
#include "modal_script.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

using test::modal_script;
using test::settle;

TEST(DialogConvention, ButtonsModalityAndOwner) {
    main_window window;
    scripted_services ui;
    orvix_dialog dialog(&window, QStringLiteral("Euler Angles"), "HLP_EULER", ui);
    EXPECT_EQ(dialog.parentWidget(), &window);
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Euler Angles");
    struct case_t {
        QPushButton* button;
        const char* text;
        bool is_default;
    } cases[] = {
        {dialog.ok_button(), "&OK", true},
        {dialog.cancel_button(), "&Cancel", false},
        {dialog.help_button(), "&Help", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.button->text().toStdString(), c.text);
        EXPECT_FALSE(c.button->icon().isNull());
        EXPECT_EQ(c.button->isDefault(), c.is_default);
    }
}

TEST(DialogConvention, AnswersByButtonKeyAndCloseBox) {
    struct case_t {
        const char* name;
        std::function<void(orvix_dialog&)> act;
        dialog_result expected;
    } cases[] = {
        {"OK", [](orvix_dialog& d) { d.ok_button()->click(); }, dialog_result::ok},
        {"Enter presses OK", [](orvix_dialog& d) { QTest::keyClick(&d, Qt::Key_Return); },
         dialog_result::ok},
        {"Cancel", [](orvix_dialog& d) { d.cancel_button()->click(); }, dialog_result::cancel},
        {"Escape", [](orvix_dialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
         dialog_result::cancel},
        {"close box", [](orvix_dialog& d) { d.close(); }, dialog_result::cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window window;
        window.show();
        scripted_services ui;
        orvix_dialog dialog(&window, QStringLiteral("Test"), "HLP_EULER", ui);
        modal_script script;
        script.then([&](QWidget* modal) {
            EXPECT_EQ(modal, &dialog);
            c.act(dialog);
        });
        EXPECT_EQ(dialog.run(), c.expected);
        EXPECT_EQ(script.pending(), 0u);
    }
}

TEST(DialogConvention, HelpShowsTheTopicAndLeavesTheDialogOpen) {
    main_window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    orvix_dialog dialog(&window, QStringLiteral("Test"), "DOCUMENTS", window.ui());
    double angle = 12.5;
    new double_field(&dialog, angle);
    modal_script script;
    bool open_after_help = false;
    script.then([&](QWidget*) {
        dialog.help_button()->click();
        settle();
        open_after_help = dialog.isVisible();
        dialog.ok_button()->click();
    });
    EXPECT_EQ(dialog.run(), dialog_result::ok);
    EXPECT_TRUE(open_after_help);
    ASSERT_NE(window.help_window(), nullptr);
    EXPECT_TRUE(window.help_window()->isVisible());
    EXPECT_EQ(window.help_window()->browser()->source().toString().toStdString(),
              "qrc:/help/documents.html");
    // The help window is no child of the main window, so the dialog does not block it.
    EXPECT_EQ(window.help_window()->parentWidget(), nullptr);
    EXPECT_EQ(angle, 12.5);
}

TEST(NumberFields, EveryEditReachesTheRecordAndBadTextBlocksOk) {
    struct step {
        const char* typed;
        bool ok_enabled;
        double member;
    };
    struct case_t {
        const char* name;
        double start;
        std::vector<step> steps;
    } cases[] = {
        {"shows 6 decimals and takes a number", 1.5, {{"2.25", true, 2.25}}},
        {"not a number disables OK and keeps the last number",
         1.5,
         {{"2.5", true, 2.5}, {"2.5x", false, 2.5}, {"3", true, 3.0}}},
        {"empty text is not a number", 0.0, {{"", false, 0.0}, {"-7.125", true, -7.125}}},
        {"comma is not a decimal point", 4.0, {{"1,5", false, 1.0}}},
        {"blanks around are fine", 0.0, {{"  8.5 ", true, 8.5}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        orvix_dialog dialog(nullptr, QStringLiteral("Fields"), "HLP_EULER", ui);
        double member = c.start;
        double other = 9.0;
        auto* field = new double_field(&dialog, member);
        auto* second = new double_field(&dialog, other);
        dialog.body()->addWidget(field);
        dialog.body()->addWidget(second);
        EXPECT_EQ(field->text().toStdString(), QString::number(c.start, 'f', 6).toStdString());
        for (const auto& s : c.steps) {
            SCOPED_TRACE(s.typed);
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, QString::fromLatin1(s.typed));
            EXPECT_EQ(dialog.ok_button()->isEnabled(), s.ok_enabled);
            EXPECT_EQ(member, s.member);
        }
    }
}

TEST(NumberFields, TwoBadFieldsBothNeedMending) {
    scripted_services ui;
    orvix_dialog dialog(nullptr, QStringLiteral("Fields"), "HLP_EULER", ui);
    double a = 1, b = 2;
    std::int32_t n = 3;
    auto* first = new double_field(&dialog, a);
    auto* second = new double_field(&dialog, b);
    auto* count = new long_field(&dialog, n);
    for (QLineEdit* f : {static_cast<QLineEdit*>(first), static_cast<QLineEdit*>(second),
                         static_cast<QLineEdit*>(count)}) {
        f->selectAll();
        QTest::keyClicks(f, QStringLiteral("?"));
    }
    EXPECT_FALSE(dialog.ok_button()->isEnabled());
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("5"));
    second->selectAll();
    QTest::keyClicks(second, QStringLiteral("6"));
    EXPECT_FALSE(dialog.ok_button()->isEnabled()) << "the integer field is still bad";
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("99999999999"));
    EXPECT_FALSE(dialog.ok_button()->isEnabled()) << "beyond 32 bits";
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("-12"));
    EXPECT_TRUE(dialog.ok_button()->isEnabled());
    EXPECT_EQ(a, 5.0);
    EXPECT_EQ(b, 6.0);
    EXPECT_EQ(n, -12);
}

TEST(FileDialogs, FiltersSuffixAndProposedName) {
    file_dialog_record record;
    reset_file_dialog_record(record);
    struct case_t {
        const char* name;
        QFileDialog::AcceptMode mode;
        QFileDialog::FileMode file_mode;
    } cases[] = {
        {"open", QFileDialog::AcceptOpen, QFileDialog::ExistingFile},
        {"save", QFileDialog::AcceptSave, QFileDialog::AnyFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFileDialog dialog;
        configure_file_dialog(dialog, record, "quartz.cry", c.mode);
        EXPECT_EQ(dialog.acceptMode(), c.mode);
        EXPECT_EQ(dialog.fileMode(), c.file_mode);
        EXPECT_EQ(dialog.defaultSuffix().toStdString(), "cry");
        // What the filter box offers: the four descriptions exactly, blanks and all.
        auto* box = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(box, nullptr);
        std::vector<std::string> offered;
        for (int i = 0; i < box->count(); ++i) offered.push_back(box->itemText(i).toStdString());
        EXPECT_EQ(offered,
                  (std::vector<std::string>{"Crystal Files (*.CRY)", "Alchemy Mol   (*.MOL)",
                                            "ASCII Files   (*.DAT)", "All Files     (*.*)"}));
        EXPECT_EQ(box->currentIndex(), 0);
    }
}

TEST(FileDialogs, NextDialogStartsWhereTheLastChose) {
    test::scratch_dir dir;
    test::write_file(dir.file("a.cry"), "Si1 0 0 0\r\n");
    main_window window;
    window.show();
    modal_script script;
    script.then(test::choose_file(QStringLiteral("open_file_dialog"),
                                  QString::fromLocal8Bit(dir.file("a.cry").c_str())));
    QString second_directory;
    script.then([&](QWidget* modal) {
        second_directory = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
        test::cancel_anything()(modal);
    });
    window.dispatch_command(cmd::file_open);
    window.dispatch_command(cmd::file_save_as);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(second_directory.toStdString(), std::filesystem::canonical(dir.path()).string());
}

TEST(Progress, ShowsAfterHalfASecondAndCancels) {
    main_window window;
    window.show();
    qt_services& ui = window.ui();
    {
        progress_scope progress(ui, "Summing neighbours", 1000);
        EXPECT_TRUE(progress.step(1));
        QProgressDialog* early = window.findChild<QProgressDialog*>();
        ASSERT_NE(early, nullptr);
        EXPECT_FALSE(early->isVisible()) << "fast work shows no dialog";
        QProgressDialog* shown = nullptr;
        for (int i = 0; i < 100 && (shown == nullptr || !shown->isVisible()); ++i) {
            QTest::qWait(20);
            EXPECT_TRUE(progress.step(static_cast<std::uint64_t>(i)));
            shown = window.findChild<QProgressDialog*>();
        }
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(shown->labelText().toStdString(), "Summing neighbours");
        EXPECT_EQ(shown->windowTitle().toStdString(), "Orvix");
        auto* cancel = shown->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text().toStdString(), "&Cancel");
        EXPECT_FALSE(cancel->icon().isNull());
        // Escape is Cancel, as in every dialog.
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(shown, Qt::Key_Escape);
        QTest::qWait(60);
        EXPECT_FALSE(progress.step(500));
    }
    EXPECT_EQ(window.findChild<QProgressDialog*>(), nullptr);
}

}  // namespace
}  // namespace orvix

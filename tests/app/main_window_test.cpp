// The main window's own wiring: the menus as the command table lists them, every entry and
// accelerator reaching its command, the Edit commands and their greying, F1 and the help
// pages, the caption, the editor's font, About and the progress dialog.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTest>
#include <set>

#include "app/about_dialog.h"
#include "commands/command_table.h"
#include "modal_script.h"

namespace orvix {
namespace {

using test::modal_script;

std::string help_source(const main_window& window) {
    const help_browser* help = window.help_window();
    return help != nullptr ? help->browser()->source().toString().toStdString() : "";
}

TEST(Menus, FollowTheCommandTable) {
    main_window window;
    std::vector<std::string> shown, listed;  // "menu|submenu|text|shortcut", in order
    const std::function<void(QMenu*, std::string)> walk = [&](QMenu* menu, std::string place) {
        for (QAction* entry : menu->actions()) {
            if (entry->menu() != nullptr) walk(entry->menu(), place + entry->text().toStdString());
            if (entry->menu() != nullptr) continue;
            shown.push_back(place + "|" + entry->text().toStdString() + "|" +
                            entry->shortcut().toString().toStdString());
        }
    };
    for (QAction* top : window.menuBar()->actions())
        walk(top->menu(), top->text().toStdString() + "|");
    for (const command_row& row : command_table()) {
        if (row.menu.empty()) continue;
        listed.push_back(std::string(row.menu) + "|" + std::string(row.submenu) + "|" +
                         std::string(row.text) + (row.key_hint.empty() ? "" : "\t") +
                         std::string(row.key_hint) + "|" +
                         QKeySequence(QString::fromLatin1(row.shortcut)).toString().toStdString());
        EXPECT_TRUE(!row.greyed || !window.command_action(row.number)->isEnabled()) << row.text;
    }
    EXPECT_EQ(shown, listed);
}

// What a command leaves that a user can see, every modal window it opens being cancelled:
// the windows' titles, the text, its selection, the clipboard, the help page, whether the
// window is still shown. `how`: 'm' the menu entry, 'k' its accelerator, 'd' the number.
std::string outcome(const command_row& row, char how) {
    main_window window;
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.editor()->setPlainText(QStringLiteral("Si1 0.1"));
    window.editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(window.editor(), Qt::Key_2);  // a step to undo
    QTextCursor cursor(window.editor()->document());
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    window.editor()->setTextCursor(cursor);
    window.document().modified = false;
    QGuiApplication::clipboard()->setText(QStringLiteral("P"));
    modal_script script(false);
    if (how == 'm') window.command_action(row.number)->trigger();
    if (how == 'k')
        QTest::keySequence(window.windowHandle(), QKeySequence(QString::fromLatin1(row.shortcut)));
    if (how == 'd') window.dispatch_command(row.number);
    QTest::qWait(20);
    std::string seen;
    for (const std::string& title : script.seen()) seen += title + ";";
    return seen + "|" + window.editor()->toPlainText().toStdString() + "|" +
           window.editor()->textCursor().selectedText().toStdString() + "|" +
           QGuiApplication::clipboard()->text().toStdString() + "|" + help_source(window) + "|" +
           (window.isVisible() ? "shown" : "closed");
}

TEST(Commands, EveryEntryAndAcceleratorRunsItsCommand) {
    const std::map<int, std::string> edits = {
        {cmd::edit_undo, "|Si1 0.1||P||shown"},
        {cmd::edit_cut, "| 0.12||Si1||shown"},
        {cmd::edit_copy, "|Si1 0.12|Si1|Si1||shown"},
        {cmd::edit_paste, "|P 0.12||P||shown"},
        {cmd::edit_delete, "| 0.12||P||shown"},
        {cmd::edit_select_all, "|Si1 0.12|Si1 0.12|P||shown"}};
    for (const command_row& row : command_table()) {
        if (row.menu.empty() || row.text.empty() || row.greyed) continue;
        SCOPED_TRACE(row.text);
        const std::string dispatched = outcome(row, 'd');
        const auto edit = edits.find(row.number);
        EXPECT_EQ(edit == edits.end() ? dispatched : edit->second, dispatched);
        EXPECT_EQ(outcome(row, 'm'), dispatched);
        EXPECT_EQ(row.shortcut.empty() ? dispatched : outcome(row, 'k'), dispatched);
    }
}

TEST(Menus, EditMenuGreysWhatCannotAct) {
    // Typed text, all selected, the clipboard; Undo, Cut, Copy, Paste, Delete, Select all.
    const struct {
        const char *typed, *clipboard;
        bool select_all;
        std::string enabled;
    } cases[] = {{"", nullptr, false, "000001"},
                 {"abc", "x", false, "100101"},
                 {"abc", nullptr, true, "111011"}};
    for (const auto& c : cases) {
        main_window window;
        QGuiApplication::clipboard()->clear();
        if (c.clipboard) QGuiApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        QTest::keyClicks(window.editor(), QString::fromLatin1(c.typed));
        if (c.select_all) window.editor()->selectAll();
        window.top_menu("&Edit")->popup(QPoint(20, 20));
        QTest::qWait(20);
        std::string enabled;
        for (int command = cmd::edit_undo; command <= cmd::edit_select_all; ++command)
            enabled += window.command_action(command)->isEnabled() ? "1" : "0";
        EXPECT_EQ(enabled, c.enabled) << c.typed << c.select_all;
        window.top_menu("&Edit")->hide();
    }
}

// Every topic a row names has its page, and F1 on a highlighted entry shows it.
TEST(Help, F1OnAMenuEntryShowsItsPage) {
    main_window window;
    window.show();
    for (const command_row& row : command_table()) {
        if (row.help_topic.empty()) continue;
        SCOPED_TRACE(row.help_topic);
        const QString page = help_page_name(row.help_topic);
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + page));
        if (row.text.empty() || !row.submenu.empty()) continue;
        QMenu* menu = window.top_menu(row.menu);
        menu->popup(QPoint(0, 0));
        menu->setActiveAction(window.command_action(row.number));
        QTest::keyClick(menu, Qt::Key_F1);
        EXPECT_EQ(help_source(window), help_page_url(page).toString().toStdString());
        menu->close();
    }
    window.show_help_topic("HLP_NO_SUCH_TOPIC");  // the contents, with a note
    EXPECT_EQ(help_source(window), "qrc:/help/hlp_contents.html");
    EXPECT_TRUE(window.help_window()->browser()->toPlainText().contains("HLP_NO_SUCH_TOPIC"));
}

TEST(MainWindow, CaptionAndMonospacedEditor) {
    test::scratch_dir dir;
    test::write_file(dir.file("[*]odd.cry"), "x");
    main_window window;
    window.show();
    ASSERT_TRUE(window.open_file(dir.file("[*]odd.cry")));
    // What the title bar shows, after Qt's own handling of "[*]".
    EXPECT_EQ(window.windowHandle()->title().toStdString(), "Orvix - [*]odd.cry");
    // The columns of crystal data line up only when every character is equally wide: in the
    // editor's font, and in the font chosen for a proportional one.
    for (const QFont& font : {window.editor()->font(), monospaced_font(QFont("DejaVu Sans", 13))}) {
        const QFontMetrics metrics(font);
        std::set<int> widths;
        for (int code = 0x20; code <= 0xff; ++code)
            if (QChar(code).isPrint()) widths.insert(metrics.horizontalAdvance(QChar(code)));
        EXPECT_EQ(widths.size(), 1u) << font.family().toStdString();
    }
}

TEST(MainWindow, AboutShowsTheRecord) {
    main_window window;
    modal_script script;
    std::set<std::string> shown;
    script.then([&](QWidget* modal) {
        for (QLabel* label : modal->findChildren<QLabel*>())
            shown.insert(label->text().toStdString());
        test::cancel_anything(modal);
    });
    window.dispatch_command(cmd::help_about);
    const about_record record = desktop_about_record();
    for (const std::string& text : {record.version, record.build_date, record.platform})
        EXPECT_EQ(shown.count(text), 1u) << text;
}

TEST(MainWindow, ProgressShowsAfterHalfASecondAndEscapeCancels) {
    main_window window;
    window.show();
    progress_scope progress(window.ui(), "Summing neighbours", 1000);
    EXPECT_TRUE(progress.step(1));
    QProgressDialog* shown = window.findChild<QProgressDialog*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isVisible()) << "fast work shows no dialog";
    for (int i = 0; i < 100 && !shown->isVisible(); ++i) {
        QTest::qWait(20);
        EXPECT_TRUE(progress.step(static_cast<std::uint64_t>(i)));
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
    QTest::keyClick(shown, Qt::Key_Escape);
    QTest::qWait(60);
    EXPECT_FALSE(progress.step(500));
}

}  // namespace
}  // namespace orvix

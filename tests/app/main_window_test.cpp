// The main window's own wiring: the menus as the command table lists them, every entry and
// accelerator reaching its command, the Edit commands and their greying, F1 and the help
// pages, the caption, the editor's font, About and the progress dialog.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDirIterator>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTest>
#include <set>

#include "app/about_dialog.h"
#include "commands/command_table.h"
#include "modal_script.h"

namespace orvix {
namespace {

using test::modal_script;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string help_source(const main_window& window) {
    return window.help_window() ? window.help_window()->browser()->source().toString().toStdString()
                                : "";
}

// Every entry of the menu bar in order, as "menu|submenu|text" ("-" for a separator).
std::vector<std::string> shown_menu(main_window& window) {
    std::vector<std::string> shown;
    const std::function<void(QMenu*, const std::string&)> walk = [&](QMenu* menu,
                                                                     const std::string& place) {
        for (QAction* entry : menu->actions()) {
            if (entry->menu() != nullptr)
                walk(entry->menu(), place + entry->text().toStdString());
            else
                shown.push_back(place + "|" +
                                (entry->isSeparator() ? "-" : entry->text().toStdString()));
        }
    };
    for (QAction* top : window.menuBar()->actions())
        walk(top->menu(), top->text().toStdString() + "|");
    return shown;
}

TEST(Menus, FollowTheCommandTable) {
    main_window window;
    std::vector<std::string> listed;
    for (const command_row& row : command_table()) {
        SCOPED_TRACE(row.number);
        if (row.menu.empty() || row.text.empty()) {
            EXPECT_EQ(window.command_action(row.number), nullptr);
            if (!row.menu.empty()) listed.push_back(std::string(row.menu) + "||-");
            continue;
        }
        std::string entry = std::string(row.menu) + "|" + std::string(row.submenu) + "|";
        entry +=
            std::string(row.text) + (row.key_hint.empty() ? "" : "\t") + std::string(row.key_hint);
        listed.push_back(entry);
        QAction* action = window.command_action(row.number);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), QKeySequence(latin1(row.shortcut)));
        EXPECT_TRUE(!row.greyed || !action->isEnabled());
    }
    EXPECT_EQ(shown_menu(window), listed);
}

// What a command leaves that a user can see, every modal window it opens being cancelled.
// `how`: 'm' the menu entry, 'k' its accelerator, 'd' the command number dispatched.
std::string outcome(const command_row& row, char how) {
    main_window window;
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.editor()->setPlainText(QStringLiteral("Si1 0.1 0.2 0.3"));
    QTextCursor cursor = window.editor()->textCursor();
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    window.editor()->setTextCursor(cursor);
    window.document().modified = false;
    QGuiApplication::clipboard()->setText(QStringLiteral("P"));
    modal_script script;
    if (how == 'm') window.command_action(row.number)->trigger();
    if (how == 'k') QTest::keySequence(window.windowHandle(), QKeySequence(latin1(row.shortcut)));
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
    for (const command_row& row : command_table()) {
        if (row.menu.empty() || row.text.empty() || row.greyed) continue;
        SCOPED_TRACE(row.text);
        const std::string dispatched = outcome(row, 'd');
        EXPECT_EQ(outcome(row, 'm'), dispatched);
        EXPECT_EQ(row.shortcut.empty() ? dispatched : outcome(row, 'k'), dispatched);
    }
    QGuiApplication::clipboard()->clear();
}

TEST(Commands, EditCommandsActOnTheEditor) {
    const struct {
        int command;
        const char *text, *selected, *clipboard;
    } cases[] = {
        {cmd::edit_undo, "Si1 0.1", "", "P"},
        {cmd::edit_cut, " 0.12", "", "Si1"},
        {cmd::edit_copy, "Si1 0.12", "Si1", "Si1"},
        {cmd::edit_paste, "P 0.12", "", "P"},
        {cmd::edit_delete, " 0.12", "", "P"},
        {cmd::edit_select_all, "Si1 0.12", "Si1 0.12", "P"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        main_window window;
        window.editor()->setPlainText(QStringLiteral("Si1 0.1"));
        window.editor()->moveCursor(QTextCursor::End);
        QTest::keyClick(window.editor(), Qt::Key_2);  // a step to undo
        QTextCursor cursor = window.editor()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        window.editor()->setTextCursor(cursor);
        QGuiApplication::clipboard()->setText(QStringLiteral("P"));
        window.dispatch_command(c.command);
        EXPECT_EQ(window.editor()->toPlainText().toStdString(), c.text);
        EXPECT_EQ(window.editor()->textCursor().selectedText().toStdString(), c.selected);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.clipboard);
    }
    QGuiApplication::clipboard()->clear();
}

TEST(Menus, EditMenuGreysWhatCannotAct) {
    const struct {
        const char* text;  // typed
        bool select_all;
        const char* clipboard;  // null: no text there
        bool undo, cut_copy_delete, paste;
    } cases[] = {
        {"", false, nullptr, false, false, false},
        {"abc", false, nullptr, true, false, false},
        {"abc", true, nullptr, true, true, false},
        {"", false, "pasted", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.select_all ? " selected" : "") +
                     (c.clipboard ? " clip" : ""));
        main_window window;
        QGuiApplication::clipboard()->clear();
        if (c.clipboard != nullptr)
            QGuiApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        QTest::keyClicks(window.editor(), QString::fromLatin1(c.text));
        if (c.select_all) window.editor()->selectAll();
        window.top_menu("&Edit")->popup(QPoint(20, 20));
        QTest::qWait(20);
        EXPECT_EQ(window.command_action(cmd::edit_undo)->isEnabled(), c.undo);
        for (int command : {cmd::edit_cut, cmd::edit_copy, cmd::edit_delete})
            EXPECT_EQ(window.command_action(command)->isEnabled(), c.cut_copy_delete) << command;
        EXPECT_EQ(window.command_action(cmd::edit_paste)->isEnabled(), c.paste);
        window.top_menu("&Edit")->hide();
    }
    QGuiApplication::clipboard()->clear();
}

// F1 on a highlighted entry shows that command's page; every topic a row names has one.
TEST(Help, F1OnAMenuEntryShowsItsPage) {
    main_window window;
    window.show();
    for (const command_row& row : command_table()) {
        if (row.help_topic.empty()) continue;
        SCOPED_TRACE(row.help_topic);
        const QString page = help_page_name(row.help_topic);
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + page));
        if (row.menu.empty() || row.text.empty() || !row.submenu.empty()) continue;
        QMenu* menu = window.top_menu(row.menu);
        menu->popup(QPoint(0, 0));
        menu->setActiveAction(window.command_action(row.number));
        QTest::keyClick(menu, Qt::Key_F1);
        EXPECT_EQ(help_source(window), help_page_url(page).toString().toStdString());
        menu->close();
    }
}

TEST(Help, EveryLinkReachesACompiledPageAndUnknownTopicsTheContents) {
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
    for (QDirIterator it(QStringLiteral(":/help")); it.hasNext();) {
        QFile file(it.next());
        if (!file.fileName().endsWith(QStringLiteral(".html")) || !file.open(QIODevice::ReadOnly))
            continue;
        SCOPED_TRACE(file.fileName().toStdString());
        for (auto m = link.globalMatch(QString::fromUtf8(file.readAll())); m.hasNext();)
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + m.next().captured(1)));
    }
    help_browser help;
    help.show_topic("HLP_NO_SUCH_TOPIC");
    EXPECT_EQ(help.browser()->source(), help_page_url(help_page_name("HLP_CONTENTS")));
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("HLP_NO_SUCH_TOPIC")));
}

TEST(MainWindow, CaptionAndMonospacedEditor) {
    for (const std::string name : {"quartz.cry", "[*]odd.cry"}) {
        SCOPED_TRACE(name);
        test::scratch_dir dir;
        test::write_file(dir.file(name), "x");
        main_window window;
        window.show();
        EXPECT_EQ(window.windowHandle()->title().toStdString(), "Orvix - (untitled)");
        ASSERT_TRUE(window.open_file(dir.file(name)));
        // What the title bar shows, after Qt's own handling of "[*]".
        EXPECT_EQ(window.windowHandle()->title().toStdString(), "Orvix - " + name);
    }
    // The columns of crystal data line up only when every character is equally wide.
    const QFontMetrics metrics(main_window().editor()->font());
    std::set<int> widths;
    for (int code = 0x20; code <= 0xff; ++code)
        if (QChar(code).isPrint()) widths.insert(metrics.horizontalAdvance(QChar(code)));
    EXPECT_EQ(widths.size(), 1u);
}

TEST(MainWindow, AboutShowsTheRecord) {
    main_window window;
    window.show();
    modal_script script;
    std::map<std::string, std::string> shown;
    script.then([&](QWidget* modal) {
        for (QLabel* label : modal->findChildren<QLabel*>())
            shown[label->objectName().toStdString()] = label->text().toStdString();
        test::cancel_anything(modal);
    });
    window.dispatch_command(cmd::help_about);
    const about_record record = desktop_about_record();
    EXPECT_EQ(shown["about_version"], record.version);
    EXPECT_EQ(shown["about_build_date"], record.build_date);
    EXPECT_NE(shown["about_free_memory"], "");
    EXPECT_EQ(script.unexpected().size(), 0u);
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

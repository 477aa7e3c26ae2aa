// The main window: caption, menus with their key hints and accelerators, the Edit menu's
// greying, and every command number reaching what handles it.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <set>

#include "app/text_editor.h"
#include "commands/command_table.h"
#include "modal_script.h"

namespace orvix {
namespace {

using test::modal_script;
using test::settle;

std::string text_of(const QString& text) {
    return text.toStdString();
}

// The advances of the printable Latin-1 characters in `font`: one for a monospaced font.
std::set<int> latin1_widths(const QFont& font) {
    const QFontMetrics metrics(font);
    std::set<int> widths;
    for (int code = 0x20; code <= 0xff; ++code)
        if (QChar(code).isPrint()) widths.insert(metrics.horizontalAdvance(QChar(code)));
    return widths;
}

TEST(MainWindow, FreshWindow) {
    main_window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(text_of(window.windowTitle()), "Orvix - (untitled)");
    EXPECT_EQ(window.centralWidget(), window.editor());
    EXPECT_TRUE(window.editor()->toPlainText().isEmpty());
    EXPECT_EQ(window.editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(window.editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window.editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(latin1_widths(window.editor()->font()).size(), 1u);
    EXPECT_FALSE(window.editor()->isReadOnly());
    EXPECT_EQ(window.focusProxy(), window.editor());
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.document().modified);
    // The selection is drawn the same with and without the focus.
    const QPalette colours = window.editor()->palette();
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
}

// The system's fixed font when its characters are equally wide, else one of its families
// that has them so, at the same size.
TEST(MainWindow, EditorFontIsMonospaced) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (latin1_widths(fixed).size() == 1) {
        EXPECT_EQ(monospaced_font(fixed), fixed);
    }
    const QFont proportional(QStringLiteral("DejaVu Sans"), 13);
    ASSERT_GT(latin1_widths(proportional).size(), 1u);
    const QFont chosen = monospaced_font(proportional);
    EXPECT_EQ(latin1_widths(chosen).size(), 1u);
    EXPECT_EQ(chosen.pointSize(), 13);
}

TEST(MainWindow, CaptionFollowsNameWithSpecialCharacters) {
    struct case_t {
        std::string name;
        std::string caption;
    } cases[] = {
        {"quartz.cry", "Orvix - quartz.cry"},
        {"[*]odd.cry", "Orvix - [*]odd.cry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        test::write_file(dir.file(c.name), "x");
        main_window window;
        window.show();
        ASSERT_TRUE(window.open_file(dir.file(c.name)));
        // What the title bar shows, after Qt's own placeholder handling.
        EXPECT_EQ(text_of(window.windowHandle()->title()), c.caption);
    }
}

// The menu as a user sees it: top menu, sub-menu, text with mnemonic, hint, state.
struct expected_entry {
    std::string menu;
    std::string submenu;
    std::string text;  // "-" for a separator
    std::string hint;
    int command;
};

const std::vector<expected_entry>& expected_menu() {
    static const std::vector<expected_entry> entries = {
        {"&File", "", "&New", "Ctrl-N", 100},
        {"&File", "", "&Open...", "Ctrl-O", 101},
        {"&File", "", "&Import Structure...", "", 106},
        {"&File", "", "Save &as...", "Ctrl-S", 103},
        {"&File", "", "-", "", 0},
        {"&File", "", "&Exit", "Ctrl-Q", 104},
        {"&Edit", "", "&Undo", "Ctrl-Z", 110},
        {"&Edit", "", "-", "", 0},
        {"&Edit", "", "Cu&t", "Ctrl-X", 111},
        {"&Edit", "", "&Copy", "Ctrl-C", 112},
        {"&Edit", "", "&Paste", "Ctrl-V", 113},
        {"&Edit", "", "&Delete", "", 114},
        {"&Edit", "", "&Select all", "Ctrl-A", 115},
        {"&Action", "&Generate", "&Postions", "", 120},
        {"&Action", "&Generate", "&Block", "", 127},
        {"&Action", "&Generate", "&Cluster around an Atom...", "", 129},
        {"&Action", "&Orthogonalize", "&Axes", "", 124},
        {"&Action", "&Orthogonalize", "&Coordinates", "", 125},
        {"&Action", "&Orthogonalize", "Make &oblique...", "", 128},
        {"&Action", "&Orthogonalize", "Calculate &normal", "", 126},
        {"&Action", "&Rotations", "&Calculate Euler angles", "", 121},
        {"&Action", "&Rotations", "&Euler rotations forwards", "", 123},
        {"&Action", "&Rotations", "Euler rotations &backwards", "", 122},
        {"&Action", "&Polar angles", "&Calculate", "", 105},
        {"&NMR", "", "Dipolar &Moment", "", 130},
        {"&NMR", "", "-", "", 0},
        {"&NMR", "", "Diagonalise (d11 > d22 > d33)", "", 131},
        {"&NMR", "", "Diagonalise (s11 < s22 < s33)", "", 132},
        {"&NMR", "", "Tensor &Parameters...", "", 133},
        {"&Help", "", "&Contents", "F1", 140},
        {"&Help", "", "&About...", "", 141},
    };
    return entries;
}

// Walks the menu bar as built and lists what it shows.
std::vector<expected_entry> shown_menu(main_window& window) {
    std::vector<expected_entry> shown;
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (menu == nullptr) continue;
        for (QAction* entry : menu->actions()) {
            std::vector<std::pair<std::string, QAction*>> items;
            if (entry->menu() != nullptr) {
                for (QAction* sub : entry->menu()->actions())
                    items.push_back({text_of(entry->text()), sub});
            } else {
                items.push_back({"", entry});
            }
            for (const auto& [submenu, action] : items) {
                expected_entry row{text_of(top->text()), submenu, "-", "", 0};
                if (!action->isSeparator()) {
                    const QString text = action->text();
                    const qsizetype tab = text.indexOf(u'\t');
                    row.text = text_of(tab < 0 ? text : text.left(tab));
                    row.hint = tab < 0 ? "" : text_of(text.mid(tab + 1));
                    row.command = action->objectName().mid(8).toInt();
                    EXPECT_EQ(window.command_action(row.command), action) << row.text;
                }
                shown.push_back(row);
            }
        }
    }
    return shown;
}

TEST(Menus, TextsHintsAndOrder) {
    main_window window;
    const auto shown = shown_menu(window);
    const auto& expected = expected_menu();
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text + " in " + expected[i].menu);
        EXPECT_EQ(shown[i].menu, expected[i].menu);
        EXPECT_EQ(shown[i].submenu, expected[i].submenu);
        EXPECT_EQ(shown[i].text, expected[i].text);
        EXPECT_EQ(shown[i].hint, expected[i].hint);
        EXPECT_EQ(shown[i].command, expected[i].command);
    }
    EXPECT_EQ(window.command_action(102), nullptr) << "Save has no menu entry";
}

TEST(Menus, AcceleratorsAndTheirAbsence) {
    main_window window;
    const std::map<int, std::string> keys = {
        {140, "F1"},     {101, "Ctrl+O"}, {103, "Ctrl+S"}, {100, "Ctrl+N"}, {104, "Ctrl+Q"},
        {110, "Ctrl+Z"}, {111, "Ctrl+X"}, {112, "Ctrl+C"}, {115, "Ctrl+A"},
    };
    for (const auto& row : expected_menu()) {
        if (row.command == 0) continue;
        SCOPED_TRACE(row.text);
        QAction* action = window.command_action(row.command);
        ASSERT_NE(action, nullptr);
        const auto key = keys.find(row.command);
        const std::string shortcut =
            text_of(action->shortcut().toString(QKeySequence::PortableText));
        EXPECT_EQ(shortcut, key == keys.end() ? "" : key->second);
    }
}

TEST(Menus, MakeObliqueIsAlwaysGreyed) {
    main_window window;
    QAction* oblique = window.command_action(128);
    EXPECT_FALSE(oblique->isEnabled());
    window.editor()->setPlainText(QStringLiteral("abc"));
    window.editor()->selectAll();
    window.top_menu("&Action")->popup(QPoint(10, 10));
    settle();
    EXPECT_FALSE(oblique->isEnabled());
    window.top_menu("&Action")->hide();
}

TEST(Menus, EditMenuGreysWhatCannotAct) {
    struct case_t {
        const char* name;
        const char* text;  // typed into the editor
        bool select_all;
        const char* clipboard;  // null: no text on the clipboard
        bool undo, cut_copy_delete, paste;
    } cases[] = {
        {"empty editor, empty clipboard", "", false, nullptr, false, false, false},
        {"typed text can be undone", "abc", false, nullptr, true, false, false},
        {"a selection can be cut, copied, deleted", "abc", true, nullptr, true, true, false},
        {"clipboard text can be pasted", "", false, "pasted", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QGuiApplication::clipboard()->clear();
        if (c.clipboard != nullptr)
            QGuiApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        QTest::keyClicks(window.editor(), QString::fromLatin1(c.text));
        if (c.select_all) window.editor()->selectAll();
        QMenu* edit = window.top_menu("&Edit");
        edit->popup(window.mapToGlobal(QPoint(20, 20)));
        settle();
        EXPECT_EQ(window.command_action(110)->isEnabled(), c.undo);
        EXPECT_EQ(window.command_action(111)->isEnabled(), c.cut_copy_delete);
        EXPECT_EQ(window.command_action(112)->isEnabled(), c.cut_copy_delete);
        EXPECT_EQ(window.command_action(114)->isEnabled(), c.cut_copy_delete);
        EXPECT_EQ(window.command_action(113)->isEnabled(), c.paste);
        EXPECT_TRUE(window.command_action(115)->isEnabled());
        edit->hide();
    }
    QGuiApplication::clipboard()->clear();
}

TEST(Commands, EditCommandsActOnTheEditor) {
    main_window window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    text_editor* editor = window.editor();
    QGuiApplication::clipboard()->clear();
    QTest::keyClicks(editor, QStringLiteral("Si1 0.1"));

    window.command_action(115)->trigger();  // Select all: first to last character
    EXPECT_EQ(editor->textCursor().selectionStart(), 0);
    EXPECT_EQ(editor->textCursor().selectionEnd(), 7);

    window.command_action(112)->trigger();  // Copy
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Si1 0.1");

    window.command_action(111)->trigger();  // Cut
    EXPECT_EQ(editor->toPlainText().toStdString(), "");

    window.command_action(113)->trigger();  // Paste
    window.command_action(113)->trigger();
    EXPECT_EQ(editor->toPlainText().toStdString(), "Si1 0.1Si1 0.1");

    window.command_action(115)->trigger();
    window.command_action(114)->trigger();  // Delete
    EXPECT_EQ(editor->toPlainText().toStdString(), "");

    window.command_action(110)->trigger();  // Undo the delete
    EXPECT_EQ(editor->toPlainText().toStdString(), "Si1 0.1Si1 0.1");
    QGuiApplication::clipboard()->clear();
}

TEST(Commands, KeysReachTheirCommands) {
    // Keys go to the window as the system would send them, so that accelerators apply.
    main_window window;
    window.show();
    // A modal window that closed leaves the activation elsewhere: take it back each time.
    const auto activate = [&window] {
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    };
    ASSERT_TRUE(activate());
    QTest::keyClicks(window.editor(), QStringLiteral("abc"));
    ASSERT_TRUE(window.document().modified);

    {  // Ctrl+N: New asks about the changes first
        modal_script script;
        script.then(test::answer_save_question(QString(), QMessageBox::No));
        QTest::keyClick(window.windowHandle(), Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_TRUE(script.unexpected().empty());
        EXPECT_TRUE(window.editor()->toPlainText().isEmpty());
    }
    {  // Ctrl+O: the open dialog
        ASSERT_TRUE(activate());
        modal_script script;
        script.then(test::cancel_file_dialog(QStringLiteral("open_file_dialog")));
        QTest::keyClick(window.windowHandle(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(script.pending(), 0u);
    }
    {  // Ctrl+S: the Save as dialog, not a direct save
        ASSERT_TRUE(activate());
        modal_script script;
        script.then(test::cancel_file_dialog(QStringLiteral("save_file_dialog")));
        QTest::keyClick(window.windowHandle(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(script.pending(), 0u);
    }
    {  // F1: the help contents
        ASSERT_TRUE(activate());
        QTest::keyClick(window.windowHandle(), Qt::Key_F1);
        ASSERT_NE(window.help_window(), nullptr);
        EXPECT_TRUE(window.help_window()->isVisible());
        EXPECT_EQ(window.help_window()->browser()->source().toString().toStdString(),
                  "qrc:/help/hlp_contents.html");
        window.help_window()->close();
    }
    {  // F1 on a highlighted menu entry: that command's own page
        ASSERT_TRUE(activate());
        QMenu* nmr = window.top_menu("&NMR");
        nmr->popup(QPoint(0, 0));
        nmr->setActiveAction(window.command_action(cmd::dipolar_moment));
        QTest::keyClick(nmr, Qt::Key_F1);
        EXPECT_EQ(window.help_window()->browser()->source().toString().toStdString(),
                  "qrc:/help/hlp_dipmom.html");
        nmr->close();
        window.help_window()->close();
    }
    {  // Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z in the editor
        QGuiApplication::clipboard()->clear();
        ASSERT_TRUE(activate());
        QTest::keyClicks(window.editor(), QStringLiteral("xy"));
        QTest::keyClick(window.windowHandle(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(window.windowHandle(), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "xy");
        QTest::keyClick(window.windowHandle(), Qt::Key_X, Qt::ControlModifier);
        EXPECT_TRUE(window.editor()->toPlainText().isEmpty());
        QTest::keyClick(window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(window.editor()->toPlainText().toStdString(), "xy");
        QTest::keyClick(window.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(window.editor()->toPlainText().isEmpty());
        QGuiApplication::clipboard()->clear();
    }
    {  // Ctrl+Q: Exit asks about the changes
        window.document().modified = true;
        ASSERT_TRUE(activate());
        modal_script script;
        script.then(test::answer_save_question(QString(), QMessageBox::Cancel));
        QTest::keyClick(window.windowHandle(), Qt::Key_Q, Qt::ControlModifier);
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_TRUE(window.isVisible());
    }
}

TEST(Commands, EveryMenuCommandReachesItsHandler) {
    // Each command number of the menu, run on a window holding a changed text: what shows up
    // tells which handler ran. Every modal window is cancelled.
    for (const auto& row : expected_menu()) {
        if (row.command == 0) continue;
        SCOPED_TRACE(row.text);
        main_window window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.editor()->setPlainText(QStringLiteral("Si1 0.1 0.2 0.3"));
        window.editor()->selectAll();
        window.document().modified = false;
        QGuiApplication::clipboard()->setText(QStringLiteral("P"));
        modal_script script;
        window.dispatch_command(row.command);
        settle();
        const std::string text = window.editor()->toPlainText().toStdString();
        std::vector<std::string> titles = script.seen();
        switch (row.command) {
            case 100:
                EXPECT_EQ(text, "");
                break;
            case 101:
                EXPECT_EQ(titles.size(), 1u);
                EXPECT_EQ(text, "Si1 0.1 0.2 0.3");
                break;
            case 103:
                EXPECT_EQ(titles.size(), 1u);
                break;
            case 106:
                EXPECT_EQ(titles.size(), 1u) << "the import dialog, cancelled";
                EXPECT_EQ(text, "Si1 0.1 0.2 0.3");
                break;
            case 104:
                EXPECT_FALSE(window.isVisible());
                break;
            case 110:
                EXPECT_EQ(text, "Si1 0.1 0.2 0.3") << "nothing to undo after setting";
                break;
            case 111:
                EXPECT_EQ(text, "");
                break;
            case 112:
                EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);
                break;
            case 113:
                EXPECT_EQ(text, "P");
                break;
            case 114:
                EXPECT_EQ(text, "");
                break;
            case 115:
                EXPECT_EQ(window.editor()->textCursor().selectedText().toStdString(), text);
                break;
            case 140:
                ASSERT_NE(window.help_window(), nullptr);
                EXPECT_TRUE(window.help_window()->isVisible());
                break;
            case 141:
                ASSERT_EQ(titles.size(), 1u);
                EXPECT_EQ(titles[0], "About Orvix");
                break;
            case 128:
                EXPECT_TRUE(titles.empty());
                break;
            default:
                // An action: it asks something when it exists, nothing when it does not yet.
                EXPECT_EQ(!titles.empty(), find_command(row.command)->run != nullptr);
                EXPECT_EQ(text, "Si1 0.1 0.2 0.3") << "actions leave the editor alone";
                break;
        }
        if (row.command != 100 && row.command != 101 && row.command < 110) {
            EXPECT_EQ(window.windowTitle().toStdString(), "Orvix - (untitled)");
        }
    }
    QGuiApplication::clipboard()->clear();
}

TEST(Commands, RepostedCommandRunsAfterThePresentOne) {
    main_window window;
    window.ui().post_command(cmd::help_contents);
    EXPECT_EQ(window.help_window(), nullptr) << "not before the event loop runs";
    settle();
    ASSERT_NE(window.help_window(), nullptr);
    EXPECT_TRUE(window.help_window()->isVisible());
}

}  // namespace
}  // namespace orvix

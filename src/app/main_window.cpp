// The main window.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <exception>
#include <filesystem>
#include <string>

#include "actions/messages.h"
#include "app/about_dialog.h"
#include "app/emblem.h"

namespace orvix {

namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

main_window::main_window(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("main_window"));
    editor_ = new text_editor(this);
    setCentralWidget(editor_);
    ui_ = std::make_unique<qt_services>(this, editor_);
    ui_->help_handler = [this](std::string_view topic) { show_help_topic(topic); };
    ui_->command_handler = [this](int command) { dispatch_command(command); };

    connect(editor_, &text_editor::text_edited, this, [this] {
        shell sh = make_shell();
        editor_notification(sh, editor_event::changed);
    });
    connect(editor_, &text_editor::out_of_space, this, [this] {
        shell sh = make_shell();
        editor_notification(sh, editor_event::out_of_space);
    });

    build_menus();
    setWindowIcon(application_icon());
    set_caption(doc_.current_name);
    resize(780, 520);
    setFocusProxy(editor_);
    editor_->setFocus();
}

main_window::~main_window() = default;

void main_window::build_menus() {
    // The menus as the command table lists them; a command without a menu entry has none.
    for (const command_row& row : command_table()) {
        if (row.menu.empty()) continue;
        const std::string key(row.menu);
        QMenu*& top = menus_[key];
        if (top == nullptr) {
            top = menuBar()->addMenu(latin1(row.menu));
            top->setObjectName(QStringLiteral("menu_") + latin1(row.menu).remove(u'&').toLower());
            top->installEventFilter(this);
        }
        QMenu* target = top;
        if (!row.submenu.empty()) {
            QMenu*& sub = menus_[key + "/" + std::string(row.submenu)];
            if (sub == nullptr) {
                sub = top->addMenu(latin1(row.submenu));
                sub->setObjectName(QStringLiteral("submenu_") +
                                   latin1(row.submenu).remove(u'&').toLower());
                sub->installEventFilter(this);
            }
            target = sub;
        }
        if (row.text.empty()) {
            target->addSeparator();
            continue;
        }
        // The hint after a tab is what the menu shows flush right, in our own words.
        QString text = latin1(row.text);
        if (!row.key_hint.empty()) text += u'\t' + latin1(row.key_hint);
        QAction* action = target->addAction(text);
        action->setObjectName(QStringLiteral("command_%1").arg(row.number));
        if (!row.shortcut.empty()) action->setShortcut(QKeySequence(latin1(row.shortcut)));
        action->setEnabled(!row.greyed);
        const int command = row.number;
        connect(action, &QAction::triggered, this, [this, command] { dispatch_command(command); });
        actions_[command] = action;
    }

    connect(menus_.at("&Edit"), &QMenu::aboutToShow, this, &main_window::update_edit_menu);
    // The entries follow the editor as it changes, so that a key never acts on a stale state.
    connect(editor_, &QPlainTextEdit::undoAvailable, this, &main_window::update_edit_menu);
    connect(editor_, &QPlainTextEdit::selectionChanged, this, &main_window::update_edit_menu);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &main_window::update_edit_menu);
    update_edit_menu();
}

bool main_window::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu != nullptr && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 && menu->activeAction() != nullptr) {
        const QString name = menu->activeAction()->objectName();
        if (name.startsWith(QStringLiteral("command_"))) {
            const command_row* row = find_command(name.mid(8).toInt());
            if (row != nullptr && !row->help_topic.empty()) {
                show_help_topic(row->help_topic);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QAction* main_window::command_action(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

QMenu* main_window::top_menu(std::string_view title) const {
    const auto found = menus_.find(title);
    return found == menus_.end() ? nullptr : found->second;
}

void main_window::update_edit_menu() {
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    const bool has_selection = editor_->textCursor().hasSelection();
    actions_.at(cmd::edit_undo)->setEnabled(editor_->document()->isUndoAvailable());
    actions_.at(cmd::edit_paste)->setEnabled(clipboard != nullptr && clipboard->hasText());
    actions_.at(cmd::edit_cut)->setEnabled(has_selection);
    actions_.at(cmd::edit_copy)->setEnabled(has_selection);
    actions_.at(cmd::edit_delete)->setEnabled(has_selection);
}

void main_window::dispatch_command(int command) {
    shell sh = make_shell();
    try {
        orvix::dispatch_command(sh, command);
    } catch (const std::exception& failure) {
        // Nothing may escape into the event loop; the actions catch their own.
        ui_->message(failure.what(), msg::program_name, message_icon::error, message_buttons::ok);
    }
}

bool main_window::open_file(const std::string& path) {
    shell sh = make_shell();
    doc_.current_path = path;
    doc_.current_name = std::filesystem::path(path).filename().string();
    if (read_file_into_editor(sh, doc_.current_path)) {
        set_caption(doc_.current_name);
        doc_.modified = false;
        return true;
    }
    ui_->message(msg::open_could_not_read, doc_.current_name, message_icon::error,
                 message_buttons::ok);
    doc_.current_name.clear();
    doc_.current_path.clear();
    return false;
}

void main_window::show_help_topic(std::string_view topic) {
    // Without a parent: a dialog waiting for its answer blocks only the main window, so the
    // help it opened can still be read and scrolled.
    if (!help_) help_ = std::make_unique<help_browser>();
    help_->show_topic(topic);
}

void main_window::commit_data(QSessionManager& manager) {
    if (!doc_.modified) return;
    if (!manager.allowsInteraction()) {
        // Without a chance to ask, the changed text would be lost: refuse.
        manager.cancel();
        return;
    }
    shell sh = make_shell();
    const bool allowed = may_close(sh);
    manager.release();
    if (!allowed) manager.cancel();
}

void main_window::closeEvent(QCloseEvent* event) {
    shell sh = make_shell();
    if (!may_close(sh)) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    event->accept();
}

void main_window::set_editor_text(const std::string& bytes) {
    editor_->set_bytes(bytes);
}

void main_window::set_caption(const std::string& name) {
    // "[*]" in a title is Qt's placeholder for the modified mark; doubled it shows as itself.
    QString caption = QString::fromLocal8Bit(caption_text(name).c_str());
    caption.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(caption);
}

void main_window::edit(int command) {
    switch (command) {
        case cmd::edit_undo:
            editor_->undo();
            break;
        case cmd::edit_cut:
            editor_->cut();
            break;
        case cmd::edit_copy:
            editor_->copy();
            break;
        case cmd::edit_paste:
            editor_->paste();
            break;
        case cmd::edit_delete:
            editor_->delete_selection();
            break;
        case cmd::edit_select_all:
            editor_->selectAll();
            break;
        default:
            break;
    }
}

void main_window::show_about() {
    show_about_box(this);
}

void main_window::request_close() {
    close();
}

}  // namespace orvix

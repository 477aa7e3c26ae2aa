// The desktop program's one window: the editor over the whole client area, the menu with
// its key hints and accelerators, the caption, the save question on close and at the end
// of the user's session, and the command dispatch to the documents, the editor, help,
// About and every action.
#pragma once

#include <QMainWindow>
#include <QSessionManager>
#include <map>
#include <memory>
#include <string_view>

#include "app/help_browser.h"
#include "app/qt_services.h"
#include "app/text_editor.h"
#include "commands/documents.h"

namespace orvix {

class main_window : public QMainWindow, private shell_window {
    Q_OBJECT
  public:
    explicit main_window(QWidget* parent = nullptr);
    ~main_window() override;

    text_editor* editor() const { return editor_; }
    qt_services& ui() { return *ui_; }
    document_state& document() { return doc_; }

    // The help window, once a topic has been shown (null before).
    help_browser* help_window() const { return help_.get(); }

    // The menu action of a command (null for 102 and numbers without an entry).
    QAction* command_action(int command) const;
    QMenu* top_menu(std::string_view title) const;

    // Reads a file into the editor as Open does once its dialog has chosen `path`: the
    // caption, current path and name follow it and the text counts as unchanged. False
    // after the messages of a failed Open.
    bool open_file(const std::string& path);

    // Runs a command as the menu or an accelerator would.
    void dispatch_command(int command);

    // Shows a help topic in the help window.
    void show_help_topic(std::string_view topic);

    // Greys Undo, Paste, Cut, Copy and Delete that cannot act now (as the Edit menu opens).
    void update_edit_menu();

    // The end of the user's session: refused when the save question ends in Cancel.
    void commit_data(QSessionManager& manager);

  protected:
    // F1 on a highlighted menu entry shows that command's help page.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    shell make_shell() { return shell{*ui_, *this, doc_}; }
    void build_menus();

    // shell_window
    void set_editor_text(const std::string& bytes) override;
    void set_caption(const std::string& name) override;
    void edit(int command) override;
    void show_about() override;
    void request_close() override;

    text_editor* editor_;
    std::unique_ptr<qt_services> ui_;
    document_state doc_;
    std::unique_ptr<help_browser> help_;
    std::map<int, QAction*> actions_;
    std::map<std::string, QMenu*, std::less<>> menus_;
};

}  // namespace orvix

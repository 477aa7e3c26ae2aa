// The help window: the help pages compiled into the program (one per topic, "HLP_EULER" is
// the page "hlp_euler.html"), with Back, Forward and Contents. It is a window of its own so
// that it stays usable while a dialog that opened it waits for an answer.
#pragma once

#include <QMainWindow>
#include <QTextBrowser>
#include <QUrl>
#include <string_view>

namespace orvix {

// The page that holds a topic: "HLP_AXISORDER" -> "hlp_axisorder.html".
QString help_page_name(std::string_view topic);

// The address of a page among the compiled-in help pages.
QUrl help_page_url(const QString& page);

class help_browser : public QMainWindow {
    Q_OBJECT
  public:
    explicit help_browser(QWidget* parent = nullptr);

    // Shows the topic's page and brings the window to the front. A topic without a page
    // shows the contents with a note saying so.
    void show_topic(std::string_view topic);

    QTextBrowser* browser() const { return browser_; }

  private:
    void update_title();
    QTextBrowser* browser_;
};

}  // namespace orvix

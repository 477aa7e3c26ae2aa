// Answers the modal windows the program shows, as a user would: each one that opens gets the
// next handler in order, which checks it and clicks the answer. A modal window nobody expected,
// or one its handler left open, is cancelled, so a test never hangs.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace orvix::test {

class modal_script : public QObject {
  public:
    using handler = std::function<void(QWidget*)>;

    // `strict`: a modal window without a handler, or a handler left unused, is a failure.
    explicit modal_script(bool strict = true);
    ~modal_script() override;
    modal_script& then(handler next);

    // Titles of every modal window seen, in order.
    const std::vector<std::string>& seen() const { return seen_; }

  private:
    void poll();

    bool strict_;
    QTimer timer_;
    std::deque<handler> queue_;
    QPointer<QWidget> last_;
    std::vector<std::string> seen_;
};

// A message box with this text, caption and icon, answered with `button`.
modal_script::handler answer_message(const QString& text, const QString& caption,
                                     QMessageBox::StandardButton button, QMessageBox::Icon icon);

// A file dialog with this object name in which `path` is chosen (cancelled when empty).
modal_script::handler choose_file(const QString& object_name, const QString& path = {});

// Any modal window, cancelled (the escape button of a message box).
void cancel_anything(QWidget* modal);

// The rows of a tab-separated file under tests/data, its columns each; blank lines and lines
// starting with '#' left out.
std::vector<std::vector<std::string>> data_rows(const std::string& relative);

}  // namespace orvix::test

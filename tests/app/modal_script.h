// Answers the modal dialogs and message boxes that the program shows, as a user would: each
// expected modal window gets the next handler in order, which checks it and clicks the
// answer. A modal window nobody expected is counted and cancelled, so a test never hangs.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
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

    modal_script();
    ~modal_script() override;

    modal_script& then(handler next);

    // Handlers not yet used, and modal windows that came without one.
    std::size_t pending() const { return queue_.size(); }
    const std::vector<std::string>& unexpected() const { return unexpected_; }
    // Titles of every modal window seen, in order.
    const std::vector<std::string>& seen() const { return seen_; }

  private:
    void poll();

    QTimer timer_;
    std::deque<handler> queue_;
    QPointer<QWidget> last_;
    std::vector<std::string> unexpected_;
    std::vector<std::string> seen_;
};

// A message box with this text, caption and icon, answered with `button`.
modal_script::handler answer_message(const QString& text, const QString& caption,
                                     QMessageBox::Icon icon, QMessageBox::StandardButton button);

// The save question about `name`, answered with `button`.
modal_script::handler answer_save_question(const QString& name, QMessageBox::StandardButton button);

// An error box with this text and caption, acknowledged.
modal_script::handler acknowledge_error(const QString& text, const QString& caption);

// A file dialog (open or save, as given by `object_name`) in which `path` is chosen.
modal_script::handler choose_file(const QString& object_name, const QString& path);

// A file dialog (open or save) that is cancelled.
modal_script::handler cancel_file_dialog(const QString& object_name);

// Any modal window, cancelled (Escape for a message box), its title recorded in `seen`.
modal_script::handler cancel_anything();

// Lets the event loop run for a moment.
void settle(int milliseconds = 20);

}  // namespace orvix::test

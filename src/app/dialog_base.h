// The dialog convention shared by every parameter dialog: modal, owned by the main window,
// "&OK" (default), "&Cancel" (also the close box) and "&Help" (shows the dialog's topic and
// leaves it open), with icons; a size fixed by its contents; the Tab key in reading order
// with the buttons last; number fields that keep their record member equal to what they
// show after every edit, and keep OK disabled while any field is not a number.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace orvix {

class orvix_dialog : public QDialog {
    Q_OBJECT
  public:
    orvix_dialog(QWidget* owner, const QString& title, std::string help_topic, services& ui);

    // Where the dialog's own controls go, above the button row.
    QVBoxLayout* body() const { return body_; }

    // The Tab order: `controls` in reading order, then OK, Cancel and Help. `focus` (the
    // first control when null) has the focus when the dialog opens; a field's text is then
    // selected, so that typing replaces it.
    void set_reading_order(const std::vector<QWidget*>& controls, QWidget* focus = nullptr);

    // Runs the dialog modally; ok or cancel.
    dialog_result run();

    QPushButton* ok_button() const { return ok_; }
    QPushButton* cancel_button() const { return cancel_; }
    QPushButton* help_button() const { return help_; }

    // Called by number fields when their text turns valid or invalid.
    void set_field_valid(QObject* field, bool valid);

  private:
    QVBoxLayout* body_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    std::set<QObject*> invalid_fields_;
    QWidget* first_focus_ = nullptr;
};

// A label for `buddy`: the mnemonic of its text, if it has one, moves the focus there, and
// assistive tools name the control by it.
QLabel* field_label(const QString& text, QWidget* buddy, QWidget* parent);

// Gives a field that shows numbers a fixed width for `characters` digits, aligned right so
// that the decimal points of fields above each other line up.
void fit_number_field(QLineEdit* field, int characters);

// A number field bound to a double: shows it with 6 decimals and stores every edit at once.
// Text that is not a number marks the field and disables OK until it is corrected, so a
// value the user cannot see is never used.
class double_field : public QLineEdit {
    Q_OBJECT
  public:
    double_field(orvix_dialog* dialog, double& member);
    // Shows a new value (as the dialog's own code does when it changes the member).
    void show_value(double value);

  private:
    void on_edited(const QString& text);
    orvix_dialog* dialog_;
    double& member_;
};

// A number field bound to a 32-bit signed integer; numbers outside its range are refused.
class long_field : public QLineEdit {
    Q_OBJECT
  public:
    long_field(orvix_dialog* dialog, std::int32_t& member);
    void show_value(std::int32_t value);

  private:
    void on_edited(const QString& text);
    orvix_dialog* dialog_;
    std::int32_t& member_;
};

// Reads a number as the fields accept it: optional blanks, a C-style decimal number (a
// decimal point, never a comma), optional blanks, nothing else.
bool parse_field_double(const QString& text, double& value);
bool parse_field_long(const QString& text, std::int32_t& value);

// Formats with 6 decimals, independent of the locale.
QString format_field_double(double value);

}  // namespace orvix

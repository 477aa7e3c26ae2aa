// The About box: the program's picture, name, version and build date, the toolkit and
// system it runs on, and the free memory and free file handles at the moment it opens.
#pragma once

#include <QDialog>

#include "app/system_info.h"

namespace orvix {

class about_dialog : public QDialog {
    Q_OBJECT
  public:
    about_dialog(QWidget* owner, const about_record& record);
};

// The record as the desktop program fills it (with the toolkit's version).
about_record desktop_about_record();

// Shows the About box modally over `owner`.
void show_about_box(QWidget* owner);

}  // namespace orvix

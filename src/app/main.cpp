// Entry point of the desktop program: one main window, run until it closes.
#include <QApplication>

#include "app/emblem.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvix"));
    QApplication::setApplicationVersion(QStringLiteral(ORVIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("orvix"));
    QApplication::setWindowIcon(orvix::application_icon());

    orvix::main_window window;
    QObject::connect(
        &app, &QGuiApplication::commitDataRequest, &window,
        [&window](QSessionManager& manager) { window.commit_data(manager); }, Qt::DirectConnection);
    window.show();
    return QApplication::exec();
}

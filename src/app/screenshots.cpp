// Renders pictures of the desktop program for the documentation: the main window with an
// example loaded, each menu opened over it, every parameter dialog as it first opens, the
// save question, the progress dialog, the About box, the help window and the icon.
// Usage: orvix-screenshots OUTPUT_DIR EXAMPLE_FILE (best run with QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressDialog>
#include <QTextCursor>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "actions/messages.h"
#include "app/about_dialog.h"
#include "app/dialogs.h"
#include "app/emblem.h"
#include "app/main_window.h"
#include "platform/c_format.h"

namespace {

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(const QPixmap& picture, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (!picture.save(path)) {
        std::fprintf(stderr, "orvix-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A picture of a window under a plain title bar with its icon and caption, as a desktop
// would frame it (the offscreen platform draws no frames of its own).
QPixmap framed(QWidget& window, const QPixmap& client) {
    const int bar = 28;
    QPixmap picture(client.width() + 2, client.height() + bar + 1);
    picture.fill(QColor(60, 72, 96));
    QPainter painter(&picture);
    QLinearGradient shade(0, 0, 0, bar);
    shade.setColorAt(0, QColor(92, 110, 146));
    shade.setColorAt(1, QColor(60, 72, 96));
    painter.fillRect(QRect(0, 0, picture.width(), bar), shade);
    painter.drawPixmap(QRect(6, 4, 20, 20), window.windowIcon().pixmap(20, 20));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(32, 0, picture.width() - 40, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawPixmap(1, bar, client);
    return picture;
}

// The window with a menu (and optionally one of its sub-menus) drawn open over it.
QPixmap with_menu(orvix::main_window& window, QMenu* menu, QMenu* submenu) {
    QMenuBar* bar = window.menuBar();
    const QRect item = bar->actionGeometry(menu->menuAction());
    const QPoint at = bar->mapTo(&window, item.bottomLeft());
    menu->popup(window.mapToGlobal(at));
    settle();
    QPoint sub_at;
    if (submenu != nullptr) {
        const QRect entry = menu->actionGeometry(submenu->menuAction());
        menu->setActiveAction(submenu->menuAction());
        sub_at = at + entry.topRight() + QPoint(-4, 0);
        submenu->popup(window.mapToGlobal(sub_at));
        settle();
    }
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(at, menu->grab());
    if (submenu != nullptr) {
        painter.drawPixmap(sub_at, submenu->grab());
        submenu->hide();
    }
    painter.end();
    menu->hide();
    settle();
    return picture;
}

// Runs `open`, which shows a modal dialog and waits for its answer, grabs the dialog once
// it is up and dismisses it as Cancel would. False when no dialog came up.
bool shoot_modal(const std::function<void()>& open, const QDir& dir, const QString& name) {
    bool saved = false;
    int attempts = 0;
    std::function<void()> attempt;
    attempt = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            if (++attempts < 50) QTimer::singleShot(20, attempt);
            return;
        }
        settle();
        saved = save(framed(*modal, modal->grab()), dir, name);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    };
    QTimer::singleShot(0, attempt);
    open();
    if (!saved && attempts >= 50)
        std::fprintf(stderr, "orvix-screenshots: no dialog for %s\n", qPrintable(name));
    return saved;
}

// Every parameter dialog as an action opens it, the save question and the progress dialog.
bool shoot_dialogs(orvix::main_window& window, const QDir& dir) {
    using namespace orvix;
    services& ui = window.ui();
    bool ok = true;
    const auto shot = [&](const char* file, const std::function<void()>& open) {
        ok = shoot_modal(open, dir, QString::fromLatin1(file)) && ok;
    };

    dipolar_parameters dipolar;
    shot("dialog-dipolar.png", [&] { run_dipolar_dialog(&window, ui, dipolar); });

    symmetry_operation first;
    shot("dialog-symmetry-first.png", [&] { run_symmetry_operations_dialog(&window, ui, first); });
    symmetry_operation second;
    second.position_count = 4;
    second.current_position = 2;
    shot("dialog-symmetry-later.png", [&] { run_symmetry_operations_dialog(&window, ui, second); });

    block_record block;
    shot("dialog-generate-block.png", [&] { run_generate_block_dialog(&window, ui, block); });

    // The labels of the quartz example, as the action offers them.
    cluster_record cluster;
    cluster.labels = {"Si1", "O1", "O2"};
    cluster.site = "Si1";
    shot("dialog-cluster.png", [&] { run_cluster_dialog(&window, ui, cluster); });

    int axis = 2;
    shot("dialog-axis-inversion.png", [&] { run_axis_inversion_dialog(&window, ui, axis); });

    // The angles of an axis system turned by 30, 40 and 50 degrees, as Calculate Euler
    // angles shows them and Euler rotations then proposes them from the clipboard.
    const euler_angles found{30.0000321362, 40.0000049731, 50.0000009796};
    shot("dialog-euler-angles.png", [&] { run_euler_angles_dialog(&window, ui, found); });
    // The clipboard text is read in single precision.
    euler_angles proposed{static_cast<float>(found.alpha), static_cast<float>(found.beta),
                          static_cast<float>(found.gamma)};
    shot("dialog-euler-rotations.png", [&] { run_euler_rotations_dialog(&window, ui, proposed); });

    axis_order order;
    shot("dialog-order-of-axes.png", [&] { run_order_of_axes_dialog(&window, ui, order); });

    tensor_parameters_record tensor;
    shot("dialog-tensor-parameters.png",
         [&] { run_tensor_parameters_dialog(&window, ui, tensor); });

    const std::string question =
        c_format(msg::save_changes_format, window.document().current_name.c_str());
    shot("message-save-question.png", [&] {
        ui.message(question, msg::program_name, message_icon::question,
                   message_buttons::yes_no_cancel);
    });

    // The progress dialog appears only once long work has taken half a second; here it is
    // shown at once, part way through.
    ui.progress_begin(msg::generating_block, 1000);
    if (auto* progress = window.findChild<QProgressDialog*>()) {
        progress->setValue(420);
        progress->show();
        settle();
        ok =
            save(framed(*progress, progress->grab()), dir, QStringLiteral("dialog-progress.png")) &&
            ok;
    } else {
        std::fprintf(stderr, "orvix-screenshots: no progress dialog\n");
        ok = false;
    }
    ui.progress_end();
    settle();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvix"));
    QApplication::setWindowIcon(orvix::application_icon());
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvix-screenshots OUTPUT_DIR EXAMPLE_FILE\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) return 1;

    orvix::main_window window;
    window.resize(720, 420);
    if (!window.open_file(argv[2])) return 1;
    window.show();
    settle();
    bool ok = save(framed(window, window.grab()), dir, QStringLiteral("main-window.png"));

    // A selection, so that the Edit menu shows its entries for one.
    QTextCursor cursor = window.editor()->textCursor();
    cursor.movePosition(QTextCursor::Down);
    cursor.movePosition(QTextCursor::Down);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    window.editor()->setTextCursor(cursor);
    const struct {
        const char* menu;
        const char* submenu;
        const char* file;
    } menus[] = {
        {"&File", nullptr, "menu-file.png"},
        {"&Edit", nullptr, "menu-edit.png"},
        {"&Action", "&Orthogonalize", "menu-action.png"},
        {"&NMR", nullptr, "menu-nmr.png"},
        {"&Help", nullptr, "menu-help.png"},
    };
    for (const auto& m : menus) {
        QMenu* menu = window.top_menu(m.menu);
        QMenu* submenu =
            m.submenu ? window.top_menu(std::string(m.menu) + "/" + m.submenu) : nullptr;
        ok = save(framed(window, with_menu(window, menu, submenu)), dir,
                  QString::fromLatin1(m.file)) &&
             ok;
    }

    ok = shoot_dialogs(window, dir) && ok;

    orvix::about_dialog about(&window, orvix::desktop_about_record());
    about.show();
    settle();
    ok = save(framed(about, about.grab()), dir, QStringLiteral("about.png")) && ok;
    about.hide();

    window.show_help_topic("HLP_CONTENTS");
    settle();
    ok = save(framed(*window.help_window(), window.help_window()->grab()), dir,
              QStringLiteral("help-contents.png")) &&
         ok;
    window.show_help_topic("CRYSTAL_FORMAT");
    settle();
    ok = save(framed(*window.help_window(), window.help_window()->grab()), dir,
              QStringLiteral("help-crystal-format.png")) &&
         ok;

    window.show_help_topic("HLP_DIPMOM");
    settle();
    ok = save(framed(*window.help_window(), window.help_window()->grab()), dir,
              QStringLiteral("help-dipolar.png")) &&
         ok;

    ok = save(orvix::emblem_pixmap(256), dir, QStringLiteral("icon.png")) && ok;
    return ok ? 0 : 1;
}

// Every parameter dialog as the actions reach it through the main window's services, driven
// by the steps of tests/data/app/dialogs.tsv: what it shows, every edit reaching its record,
// the refusals that live in the dialog, Help showing its own page while the dialog stays open,
// and the answers by button, key and close box.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <map>
#include <sstream>

#include "app/dialog_base.h"
#include "app/main_window.h"
#include "dipolar/nuclei.h"
#include "modal_script.h"
#include "platform/c_format.h"

namespace orvix {
namespace {

// The records each dialog opens on, and what they hold as the data file writes it.
struct records {
    int axis = 0;
    euler_angles angles{30.0, 123.4567890123, 359.99999999}, rotation{12.5, 7, 3};
    axis_order order{{2, 0, 1}};
    symmetry_operation first, later{17, 3};
    block_record block;
    cluster_record cluster{{"Na1", "Cl1", "O\xe9"}, "Cl1", 10.0};
    tensor_parameters_record tensor;
    dipolar_parameters dipolar;

    dialog_result run(const std::string& dialog, qt_services& ui) {
        if (dialog == "axis_inversion") return ui.axis_inversion_dialog(axis);
        if (dialog == "euler_angles") return ui.euler_angles_dialog(angles);
        if (dialog == "euler_rotations") return ui.euler_rotations_dialog(rotation);
        if (dialog == "order_of_axes") return ui.order_of_axes_dialog(order);
        if (dialog == "symmetry_first") return ui.symmetry_operations_dialog(first);
        if (dialog == "symmetry_later") return ui.symmetry_operations_dialog(later);
        if (dialog == "block") return ui.generate_block_dialog(block);
        if (dialog == "cluster") return ui.cluster_dialog(cluster);
        if (dialog == "tensor") return ui.tensor_parameters_dialog(tensor);
        EXPECT_EQ(dialog, "dipolar");
        return ui.dipolar_dialog(dipolar);
    }

    std::map<std::string, std::string> values() const {
        const auto n = [](auto... x) {
            std::string text;
            ((text += c_format(",%.9g", static_cast<double>(x))), ...);
            return text.substr(1);
        };
        const auto nucleus = [](int position) {
            return position < 0 ? std::string("-") : std::string(nuclei_table()[position].label);
        };
        const auto& s = [&](const symmetry_operation& o) {
            return n(o.position_count) + ";" + n(o.factor[0], o.factor[1], o.factor[2]) + ";" +
                   n(o.shift[0], o.shift[1], o.shift[2]) + ";" +
                   n(o.source[0], o.source[1], o.source[2]);
        };
        const dipolar_parameters& d = dipolar;
        return {{"axis", n(axis)},
                {"rotation", n(rotation.alpha, rotation.beta, rotation.gamma)},
                {"order", n(order.row[0], order.row[1], order.row[2])},
                {"first", s(first)},
                {"later", s(later)},
                {"block", n(block.n)},
                {"cluster", cluster.site + " " + n(cluster.radius)},
                {"tensor", n(tensor.kind) + " " + nucleus(tensor.nucleus) + " " +
                               (tensor.has_reference ? n(tensor.reference) : "-")},
                {"dipolar",
                 nucleus(d.observed_nucleus) + " " + nucleus(d.coupled_nucleus) + " " +
                     n(d.abundance) + " " + n(d.moment_type) + " " + n(d.rotation_sense) + " " +
                     n(d.alpha, d.beta, d.gamma_start, d.gamma_increment, d.gamma_end, d.phase) +
                     " " + n(d.cutoff)}};
    }
};

// What a control shows: a field's text, a list's choice, a label's text; "on" or "off" for
// whether a button is checked (or, not checkable, enabled); "open" for the dialog itself.
std::string shown(QWidget* w) {
    if (w == nullptr || w->isHidden()) return "(hidden)";
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return (button->isCheckable() ? button->isChecked() : button->isEnabled()) ? "on" : "off";
    return "open";
}

// Runs one step of the data file on the open dialog.
void step(QWidget* dialog, const std::string& text) {
    SCOPED_TRACE(text);
    const std::size_t blank = text.find(' '), equals = text.find('=');
    const std::string verb = text.substr(0, blank);
    const QString name = QString::fromLatin1(text.substr(blank + 1, equals - blank - 1));
    const QString value =
        equals == std::string::npos ? QString() : QString::fromLatin1(text.substr(equals + 1));
    QWidget* control =
        name == QStringLiteral("dialog") ? dialog : dialog->findChild<QWidget*>(name);
    if (verb == "shows") {
        EXPECT_EQ(shown(control), value.toStdString());
    } else if (verb == "type") {
        auto* list = qobject_cast<QComboBox*>(control);
        QLineEdit* edit = list != nullptr ? list->lineEdit() : qobject_cast<QLineEdit*>(control);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, value);
        if (list != nullptr && list->completer() != nullptr) list->completer()->popup()->hide();
    } else if (verb == "click") {
        ASSERT_NE(qobject_cast<QAbstractButton*>(control), nullptr);
        qobject_cast<QAbstractButton*>(control)->click();
    } else if (verb == "choose") {
        auto* list = qobject_cast<QComboBox*>(control);
        ASSERT_NE(list, nullptr);
        list->setCurrentIndex(list->findText(value));
    } else if (verb == "key") {
        ASSERT_NE(control, nullptr);
        QTest::keyClick(control, QKeySequence(value)[0].key());
    } else if (verb == "close") {
        dialog->close();
    } else {
        FAIL() << "unknown step";
    }
}

TEST(Dialogs, ShowEditRefuseAndAnswer) {
    for (const std::vector<std::string>& column : test::data_rows("app/dialogs.tsv")) {
        ASSERT_GE(column.size(), 6u) << column[0];
        SCOPED_TRACE(column[0]);
        records record;
        main_window window;
        window.show();
        test::modal_script script;
        bool open_after_help = false;
        script.then([&](QWidget* dialog) {
            dialog->findChild<QPushButton*>(QStringLiteral("help"))->click();
            open_after_help = dialog->isVisible();
            dialog->activateWindow();  // back from the help window, for the keys
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            std::istringstream steps(column[3]);
            for (std::string text; std::getline(steps, text, ';');) step(dialog, text);
            const QString answer = QString::fromStdString(column[4]);
            if (dialog->isVisible()) dialog->findChild<QPushButton*>(answer)->click();
            if (dialog->isVisible()) test::cancel_anything(dialog);
        });
        const dialog_result result = record.run(column[1], window.ui());
        EXPECT_EQ(result, column[4] == "ok" ? dialog_result::ok : dialog_result::cancel);
        EXPECT_TRUE(open_after_help);
        ASSERT_NE(window.help_window(), nullptr);
        EXPECT_EQ(window.help_window()->browser()->source(),
                  help_page_url(help_page_name(column[2])));
        // The record afterwards, as NAME=VALUE.
        const std::size_t equals = column[5].find('=');
        const std::string name = column[5].substr(0, equals);
        EXPECT_EQ(name.empty() ? "" : record.values().at(name), column[5].substr(equals + 1));
    }
}

}  // namespace
}  // namespace orvix

// Every parameter dialog as the actions reach it through the main window's services: what it
// shows on opening, every edit reaching its record, Help showing its own page while the dialog
// stays open; the answers by button, key and close box; and the refusals that live in the
// dialogs (number fields, the nucleus lists, the tensor kinds).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <map>

#include "app/dialog_base.h"
#include "app/main_window.h"
#include "dipolar/nuclei.h"
#include "modal_script.h"

namespace orvix {
namespace {

using test::modal_script;

template <typename T>
T* child(QWidget* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Replaces a field's text by typing, as a user would.
void type(QWidget* dialog, const char* field, const QString& text) {
    auto* list = dialog->findChild<QComboBox*>(QString::fromLatin1(field));
    QLineEdit* edit = list != nullptr ? list->lineEdit() : child<QLineEdit>(dialog, field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void click(QWidget* dialog, const char* button) {
    child<QAbstractButton>(dialog, button)->click();
}

bool ok_enabled(QWidget* dialog) {
    return child<QPushButton>(dialog, "ok")->isEnabled();
}

// What a dialog shows: each named field's text, list's choice and label's text, and "on" for
// each checked button.
std::map<std::string, std::string> shown(QWidget* dialog) {
    std::map<std::string, std::string> state;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) state[name] = edit->text().toStdString();
        if (auto* list = qobject_cast<QComboBox*>(w))
            state[name] = list->currentText().toStdString();
        if (auto* label = qobject_cast<QLabel*>(w)) state[name] = label->text().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isChecked())
            state[name] = "on";
    }
    return state;
}

int position(const char* label) {
    return find_nucleus_position(label).value();
}

TEST(Dialogs, ShowEditAndAnswerTheirRecords) {
    euler_angles angles{30.0, 123.4567890123, 359.99999999}, rotation{12.5, 7, 3};
    int axis = 0;
    axis_order order{{2, 0, 1}};
    symmetry_operation first, later;
    later.position_count = 17;
    later.current_position = 3;
    block_record block;
    cluster_record cluster{{"Na1", "Cl1", "O\xe9"}, "Cl1", 10.0};
    tensor_parameters_record tensor;
    dipolar_parameters dipolar;
    const struct {
        const char* name;
        const char* topic;
        std::function<dialog_result(qt_services&)> run;
        std::map<std::string, std::string> on_opening;
        std::function<void(QWidget*)> edit;  // then OK; none: Cancel
        std::function<void()> check;
    } cases[] = {
        {"axis inversion proposes Z whatever came in",
         "HLP_AXINVERT",
         [&](qt_services& ui) { return ui.axis_inversion_dialog(axis); },
         {{"invert_z", "on"}},
         [](QWidget* d) { click(d, "invert_y"); },
         [&] { EXPECT_EQ(axis, 1); }},
        // 123.4567890123 is 123.456787109375 in single precision; 359.99999999 rounds to 360.
        {"Euler angles in single precision",
         "HLP_CALCEULER",
         [&](qt_services& ui) { return ui.euler_angles_dialog(angles); },
         {{"alpha", "30.000000"}, {"beta", "123.456787"}, {"gamma", "360.000000"}},
         nullptr,
         [] {}},
        {"Euler rotations",
         "HLP_EULER",
         [&](qt_services& ui) { return ui.euler_rotations_dialog(rotation); },
         {{"alpha", "12.500000"}, {"beta", "7.000000"}},
         [](QWidget* d) {
             type(d, "alpha", "45.5");
             type(d, "gamma", "-30");
         },
         [&] {
             EXPECT_EQ((std::array{rotation.alpha, rotation.beta, rotation.gamma}),
                       (std::array{45.5, 7.0, -30.0}));
         }},
        {"order of axes",
         "HLP_AXISORDER",
         [&](qt_services& ui) { return ui.order_of_axes_dialog(order); },
         {{"x_c", "on"}, {"y_a", "on"}, {"z_b", "on"}},
         [](QWidget* d) {
             click(d, "x_b");
             click(d, "y_b");
         },
         [&] {
             EXPECT_EQ(order.row, (std::array{1, 1, 1}));
         }},
        {"symmetry operations, first",
         "HLP_SYMMOP",
         [&](qt_services& ui) { return ui.symmetry_operations_dialog(first); },
         {{"position_count", "1"},
          {"factor_X", "1.000000"},
          {"shift_Z", "0.000000"},
          {"source_Y_y", "on"}},
         [](QWidget* d) {
             type(d, "position_count", "4");
             type(d, "factor_X", "-1");
             type(d, "shift_Y", "0.5");
             click(d, "source_X_y");
             click(d, "source_Z_x");
         },
         [&] {
             EXPECT_EQ(first.position_count, 4);
             EXPECT_EQ(first.factor, (std::array{-1.0, 1.0, 1.0}));
             EXPECT_EQ(first.shift, (std::array{0.0, 0.5, 0.0}));
             EXPECT_EQ(first.source, (std::array<std::uint8_t, 3>{1, 1, 0}));
         }},
        {"symmetry operations, later",
         "HLP_SYMMOP",
         [&](qt_services& ui) { return ui.symmetry_operations_dialog(later); },
         {{"position_label", "Current Position: 3"}},
         [](QWidget* d) { EXPECT_TRUE(child<QLineEdit>(d, "position_count")->isHidden()); },
         [&] { EXPECT_EQ(later.position_count, 17); }},
        {"generate block",
         "HLP_GENAUTO",
         [&](qt_services& ui) { return ui.generate_block_dialog(block); },
         {{"block_n", "1"}},
         [](QWidget* d) { type(d, "block_n", "-3"); },
         [&] { EXPECT_EQ(block.n, -3); }},
        {"cluster",
         "HLP_CLUSTER",
         [&](qt_services& ui) { return ui.cluster_dialog(cluster); },
         {{"cluster_site", "Cl1"}, {"cluster_radius", "10.000000"}},
         [](QWidget* d) {
             QTest::keyClick(child<QComboBox>(d, "cluster_site"), Qt::Key_Down);
             type(d, "cluster_radius", "15.5");
         },
         [&] {
             EXPECT_EQ(cluster.site, "O\xe9");  // a Latin-1 label stays one
             EXPECT_EQ(cluster.radius, 15.5);
         }},
        {"tensor parameters",
         "HLP_TENSORPARAMS",
         [&](qt_services& ui) { return ui.tensor_parameters_dialog(tensor); },
         {{"shielding", "on"}, {"reference", ""}, {"nucleus", ""}},
         [](QWidget* d) {
             type(d, "reference", "1e6");
             EXPECT_FALSE(ok_enabled(d)) << "no usable reference";
             click(d, "shift");  // a shift has no reference
             EXPECT_TRUE(ok_enabled(d));
             click(d, "shielding");
             type(d, "reference", " 170.5 ");
             click(d, "efg");
             EXPECT_FALSE(ok_enabled(d)) << "an EFG needs its nucleus";
             auto* nucleus = child<QComboBox>(d, "nucleus");
             EXPECT_EQ(nucleus->findText("13C"), -1) << "quadrupolar nuclei only";
             nucleus->setCurrentIndex(nucleus->findText("27Al"));
         },
         [&] {
             EXPECT_EQ(tensor.kind, 2);
             EXPECT_EQ(tensor.nucleus, position("27Al"));
             EXPECT_TRUE(tensor.has_reference);
             EXPECT_EQ(tensor.reference, 170.5);
         }},
        {"dipolar",
         "HLP_DIPMOM",
         [&](qt_services& ui) { return ui.dipolar_dialog(dipolar); },
         {{"observed_nucleus", "1H"},
          {"abundance", "100.000000"},
          {"beta", "90.000000"},
          {"gamma_end", "180.000000"},
          {"cutoff", "1000.000000"},
          {"single_crystal", "on"},
          {"clockwise", "on"}},
         [](QWidget* d) {
             type(d, "alpha", "12.5");
             click(d, "powder");
             click(d, "anticlockwise");
             type(d, "observed_nucleus", "19f");  // found whatever the case
             type(d, "coupled_nucleus", "13C");   // brings its abundance
             EXPECT_EQ(child<QLineEdit>(d, "abundance")->text(), "1.070000");
         },
         [&] {
             EXPECT_EQ(dipolar.alpha, 12.5);
             EXPECT_EQ(dipolar.moment_type, 0);
             EXPECT_EQ(dipolar.rotation_sense, 1);
             EXPECT_EQ(dipolar.observed_nucleus, position("19F"));
             EXPECT_EQ(dipolar.coupled_nucleus, position("13C"));
             EXPECT_EQ(dipolar.abundance, 1.07);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window window;
        window.show();
        modal_script script;
        std::map<std::string, std::string> opening;
        bool open_after_help = false;
        script.then([&](QWidget* d) {
            opening = shown(d);
            click(d, "help");
            open_after_help = d->isVisible();
            if (c.edit) c.edit(d);
            click(d, c.edit ? "ok" : "cancel");
            if (d->isVisible()) test::cancel_anything(d);
        });
        EXPECT_EQ(c.run(window.ui()), c.edit ? dialog_result::ok : dialog_result::cancel);
        EXPECT_TRUE(script.unexpected().empty());
        for (const auto& [name, text] : c.on_opening) EXPECT_EQ(opening[name], text) << name;
        EXPECT_TRUE(open_after_help);
        ASSERT_NE(window.help_window(), nullptr);
        EXPECT_EQ(window.help_window()->browser()->source(),
                  help_page_url(help_page_name(c.topic)));
        c.check();
    }
}

TEST(Dialogs, AnswerByButtonKeyAndCloseBox) {
    const struct {
        const char* name;
        std::function<void(QWidget*)> act;
        dialog_result result;
    } cases[] = {
        {"OK", [](QWidget* d) { click(d, "ok"); }, dialog_result::ok},
        {"Enter", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }, dialog_result::ok},
        {"Cancel", [](QWidget* d) { click(d, "cancel"); }, dialog_result::cancel},
        {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, dialog_result::cancel},
        {"close box", [](QWidget* d) { d->close(); }, dialog_result::cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main_window window;
        modal_script script;
        script.then(c.act);
        euler_angles angles;
        EXPECT_EQ(window.ui().euler_rotations_dialog(angles), c.result);
        EXPECT_EQ(script.pending(), 0u);
    }
}

TEST(NumberFields, ReadLocaleFreeNumbersAndNothingElse) {
    const struct {
        const char* text;
        bool is_double, is_long;
        double value;
    } cases[] = {
        {"2.25", true, false, 2.25},
        {"  -8 ", true, true, -8},
        {"", false, false, 0},
        {"1,5", false, false, 0},
        {"2.5x", false, false, 0},
        {"+5", true, true, 5},
        {"2147483647", true, true, 2147483647.0},
        {"2147483648", true, false, 2147483648.0},
        {"-2147483649", true, false, -2147483649.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double real = 0;
        std::int32_t integer = 0;
        EXPECT_EQ(parse_field_double(c.text, real), c.is_double);
        EXPECT_EQ(parse_field_long(c.text, integer), c.is_long);
        EXPECT_EQ(real, c.is_double ? c.value : 0);  // a refused text leaves the number alone
        EXPECT_EQ(integer, c.is_long ? c.value : 0);
    }
    EXPECT_EQ(format_field_double(-1234.5678915).toStdString(), "-1234.567892");
}

// OK stays disabled until every field holds a number again; the last number stays stored.
TEST(NumberFields, EveryBadFieldHoldsOkBack) {
    main_window window;
    orvix_dialog dialog(&window, QStringLiteral("Fields"), "HLP_EULER", window.ui());
    double a = 1, b = 2;
    std::int32_t n = 3;
    QLineEdit* fields[] = {new double_field(&dialog, a), new double_field(&dialog, b),
                           new long_field(&dialog, n)};
    EXPECT_EQ(fields[0]->text().toStdString(), "1.000000");
    for (QLineEdit* field : fields) QTest::keyClicks(field, QStringLiteral("?"));
    const struct {
        int field;
        const char* text;
        bool ok;
    } steps[] = {
        {0, "5", false}, {1, "6", false}, {2, "-12", true}, {0, "x", false}, {0, "7", true}};
    for (const auto& s : steps) {
        fields[s.field]->selectAll();
        QTest::keyClicks(fields[s.field], QString::fromLatin1(s.text));
        EXPECT_EQ(dialog.ok_button()->isEnabled(), s.ok) << s.field << s.text;
    }
    EXPECT_EQ(a, 7.0);
    EXPECT_EQ(b, 6.0);
    EXPECT_EQ(n, -12);
}

// A name of no nucleus keeps OK disabled and the last nucleus in the record; Return does not
// reach OK then; leaving the list shows the selected nucleus again; part of a name offers the
// nuclei that hold it.
TEST(NucleusLists, RefuseNamesOfNoNucleus) {
    main_window window;
    window.show();
    dipolar_parameters record;
    modal_script script;
    script.then([&](QWidget* d) {
        auto* coupled = child<QComboBox>(d, "coupled_nucleus");
        type(d, "coupled_nucleus", "19F");
        QTest::keyClicks(coupled, QStringLiteral("13C"));
        coupled->completer()->popup()->hide();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(coupled, key);
            EXPECT_TRUE(d->isVisible());
            EXPECT_FALSE(ok_enabled(d));
            EXPECT_EQ(coupled->currentText(), "19F13C");
            EXPECT_EQ(record.coupled_nucleus, position("19F"));
        }
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        QTest::keyClick(coupled, Qt::Key_Tab);
        EXPECT_EQ(coupled->currentText(), "19F");
        EXPECT_TRUE(ok_enabled(d));
        type(d, "coupled_nucleus", "Al");
        QCompleter* finder = coupled->completer();
        EXPECT_EQ(finder->completionCount(), 1);
        finder->popup()->setCurrentIndex(finder->completionModel()->index(0, 0));
        QTest::keyClick(finder->popup(), Qt::Key_Return);
        EXPECT_EQ(coupled->currentText(), "27Al");
        QTest::keyClick(coupled, Qt::Key_Return);
    });
    EXPECT_EQ(window.ui().dipolar_dialog(record), dialog_result::ok);
    EXPECT_EQ(record.coupled_nucleus, position("27Al"));
}

}  // namespace
}  // namespace orvix

// Offscreen tests of the Axis Inversion, Euler Angles, Euler Rotations and Order of Axes
// dialogs: what they show when they open, what they store, and their buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "actions/messages.h"
#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "platform/scripted_services.h"
#include "support/qt_dialog_support.h"

namespace orvix {
namespace {

using test::child;
using test::type_into;
using test::when_open;

TEST(AxisInversionDialog, proposes_z_and_stores_the_choice) {
    struct test_case {
        const char* name;
        int incoming;
        const char* click;  // radio button to choose, or null
        bool ok;
        dialog_result result;
        int axis;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"Z proposed although X came in, OK", 0, nullptr, true, dialog_result::ok, 2},
        {"X chosen", 2, "invert_x", true, dialog_result::ok, 0},
        {"Y chosen", 1, "invert_y", true, dialog_result::ok, 1},
        {"cancel", 2, "invert_x", false, dialog_result::cancel, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        bool z_checked = false;
        QString text, title;
        when_open([&](orvix_dialog& dialog) {
            title = dialog.windowTitle();
            text = child<QLabel>(dialog, "message")->text();
            z_checked = child<QRadioButton>(dialog, "invert_z")->isChecked();
            if (c.click) child<QRadioButton>(dialog, c.click)->click();
            (c.ok ? dialog.ok_button() : dialog.cancel_button())->click();
        });
        int axis = c.incoming;
        EXPECT_EQ(run_axis_inversion_dialog(nullptr, ui, axis), c.result);
        EXPECT_EQ(axis, c.axis);
        EXPECT_TRUE(z_checked);
        EXPECT_EQ(title, "Axis Inversion");
        EXPECT_EQ(text.toStdString(), msg::left_handed);
    }
}

TEST(EulerAnglesDialog, shows_single_precision_values_with_6_decimals) {
    scripted_services ui;
    std::vector<QString> shown;
    bool read_only = true;
    QString title;
    when_open([&](orvix_dialog& dialog) {
        title = dialog.windowTitle();
        for (const char* name : {"alpha", "beta", "gamma"}) {
            auto* field = child<QLineEdit>(dialog, name);
            shown.push_back(field->text());
            read_only = read_only && field->isReadOnly();
        }
        dialog.help_button()->click();
        EXPECT_TRUE(dialog.isVisible()) << "Help leaves the dialog open";
        dialog.cancel_button()->click();
    });
    // 123.4567890123 is 123.456787109375 in single precision; 359.99999999 rounds to 360.
    const euler_angles angles{30.0, 123.4567890123, 359.99999999};
    EXPECT_EQ(run_euler_angles_dialog(nullptr, ui, angles), dialog_result::cancel);
    EXPECT_EQ(shown, (std::vector<QString>{"30.000000", "123.456787", "360.000000"}));
    EXPECT_TRUE(read_only);
    EXPECT_EQ(title, "Euler Angles");
    EXPECT_EQ(ui.help_topics, std::vector<std::string>{"HLP_CALCEULER"});
}

TEST(EulerRotationsDialog, shows_the_proposal_and_stores_every_edit) {
    struct test_case {
        const char* name;
        const char* field;
        QString text;
        bool ok_enabled;
        bool press_ok;
        dialog_result result;
        euler_angles expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"alpha edited, OK", "alpha", "45.5", true, true, dialog_result::ok, {45.5, 7, 3}},
        {"gamma edited, Cancel", "gamma", "-30", true, false, dialog_result::cancel,
         {12.5, 7, -30}},
        // Typed key by key: "4" is stored, "4," is not a number and leaves the 4 (which OK,
        // now disabled, can never use).
        {"not a number disables OK", "beta", "4,5", false, false, dialog_result::cancel,
         {12.5, 4, 3}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        std::vector<QString> shown;
        bool ok_enabled = false;
        euler_angles angles{12.5, 7, 3};
        euler_angles during{};
        when_open([&](orvix_dialog& dialog) {
            for (const char* name : {"alpha", "beta", "gamma"})
                shown.push_back(child<QLineEdit>(dialog, name)->text());
            type_into(child<QLineEdit>(dialog, c.field), c.text);
            during = angles;  // stored at once, before any button
            ok_enabled = dialog.ok_button()->isEnabled();
            dialog.help_button()->click();
            (c.press_ok ? dialog.ok_button() : dialog.cancel_button())->click();
        });
        EXPECT_EQ(run_euler_rotations_dialog(nullptr, ui, angles), c.result);
        EXPECT_EQ(shown, (std::vector<QString>{"12.500000", "7.000000", "3.000000"}));
        EXPECT_EQ(ok_enabled, c.ok_enabled);
        EXPECT_EQ(during.alpha, c.expected.alpha);
        EXPECT_EQ(during.beta, c.expected.beta);
        EXPECT_EQ(during.gamma, c.expected.gamma);
        EXPECT_EQ(ui.help_topics, std::vector<std::string>{"HLP_EULER"});
    }
}

TEST(OrderOfAxesDialog, shows_the_order_and_stores_each_choice) {
    struct test_case {
        const char* name;
        axis_order incoming;
        std::vector<const char*> clicks;
        bool ok;
        std::vector<std::string> checked_on_open;
        axis_order expected;
    };
    // clang-format off
    const std::vector<test_case> cases = {
        {"default order, OK", {}, {}, true, {"x_a", "y_b", "z_c"}, {{0, 1, 2}}},
        {"b a c chosen", {}, {"x_b", "y_a"}, true, {"x_a", "y_b", "z_c"}, {{1, 0, 2}}},
        {"a twice is accepted by the dialog", {}, {"y_a"}, true, {"x_a", "y_b", "z_c"},
         {{0, 0, 2}}},
        {"opens on the order it is given", {{2, 0, 1}}, {}, true, {"x_c", "y_a", "z_b"},
         {{2, 0, 1}}},
        {"cancel", {}, {"z_a"}, false, {"x_a", "y_b", "z_c"}, {{0, 1, 0}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        std::vector<std::string> checked;
        QString title;
        when_open([&](orvix_dialog& dialog) {
            title = dialog.windowTitle();
            for (auto* button : dialog.findChildren<QRadioButton*>())
                if (button->isChecked()) checked.push_back(button->objectName().toStdString());
            std::sort(checked.begin(), checked.end());
            for (const char* name : c.clicks) child<QRadioButton>(dialog, name)->click();
            dialog.help_button()->click();
            (c.ok ? dialog.ok_button() : dialog.cancel_button())->click();
        });
        axis_order order = c.incoming;
        EXPECT_EQ(run_order_of_axes_dialog(nullptr, ui, order),
                  c.ok ? dialog_result::ok : dialog_result::cancel);
        EXPECT_EQ(checked, c.checked_on_open);
        EXPECT_EQ(order.row, c.expected.row);
        EXPECT_EQ(title, "Order of Axes");
        EXPECT_EQ(ui.help_topics, std::vector<std::string>{"HLP_AXISORDER"});
    }
}

// The words of each dialog as the user reads them (labels and radio buttons, mnemonics
// included), its buttons, and the Help topic it shows.
TEST(AxesDialogs, show_their_own_words_and_help_topics) {
    // clang-format off
    const std::vector<test::dialog_face> cases = {
        {"Axis Inversion",
         [](services& ui) { int axis = 0; return run_axis_inversion_dialog(nullptr, ui, axis); },
         {std::string(msg::left_handed), "Axis to invert:"}, {"&X", "&Y", "&Z"}, "HLP_AXINVERT"},
        {"Euler Angles",
         [](services& ui) { return run_euler_angles_dialog(nullptr, ui, euler_angles{}); },
         {"The Euler angles were determined to be:", "Alpha:", "Beta:", "Gamma:", "deg", "deg",
          "deg"}, {}, "HLP_CALCEULER"},
        {"Euler Rotations",
         [](services& ui) { euler_angles a; return run_euler_rotations_dialog(nullptr, ui, a); },
         {"Alpha:", "Beta:", "Gamma:", "deg", "deg", "deg"}, {}, "HLP_EULER"},
        {"Order of Axes",
         [](services& ui) { axis_order o; return run_order_of_axes_dialog(nullptr, ui, o); },
         {"new:", "old axes:", "X:", "Y:", "Z:"},
         {"a", "b", "c", "a", "b", "c", "a", "b", "c"}, "HLP_AXISORDER"},
    };
    // clang-format on
    for (const auto& c : cases) test::expect_dialog_face(c);
}

}  // namespace
}  // namespace orvix

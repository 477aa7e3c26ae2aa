// How every parameter dialog looks and answers the keyboard: a size fixed by its contents, no
// text cut off and no control on top of another, the Tab key in reading order with one stop
// per group of radio buttons and the buttons last, the arrow keys within such a group, and
// each mnemonic reaching its control (a letter the dialog's texts give twice reaches each of
// its controls in turn).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "modal_script.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

using test::modal_script;

// A mnemonic letter and every control it reaches, in no particular order.
struct mnemonic_case {
    char letter;
    std::set<std::string> targets;
};

struct dialog_case {
    const char* name;
    std::function<dialog_result(QWidget* owner, services& ui)> open;
    // The controls the Tab key visits, from the one with the focus when the dialog opens
    // around to it again.
    std::vector<std::string> tab_order;
    // Letters that the dialog's own texts give to more than one control.
    std::set<char> shared_letters;
    // Mnemonics to press (OK and Cancel are left out where pressing them would close it).
    std::vector<mnemonic_case> mnemonics;
};

// The name of a control as the tests call it: an editable list's text field is the list.
std::string name_of(QWidget* widget) {
    if (widget == nullptr) return "(none)";
    if (auto* list = qobject_cast<QComboBox*>(widget->parentWidget()))
        if (list->lineEdit() == widget) widget = list;
    return widget->objectName().toStdString();
}

bool is_control(QWidget* widget) {
    if (qobject_cast<QComboBox*>(widget->parentWidget()) != nullptr) return false;
    return qobject_cast<QLabel*>(widget) != nullptr ||
           qobject_cast<QLineEdit*>(widget) != nullptr ||
           qobject_cast<QAbstractButton*>(widget) != nullptr ||
           qobject_cast<QComboBox*>(widget) != nullptr;
}

std::string describe(QWidget* widget) {
    if (!widget->objectName().isEmpty()) return widget->objectName().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget)) return "label " + label->text().toStdString();
    return widget->metaObject()->className();
}

// The mnemonic letter of a text ("&Alpha:" gives 'A'), or 0.
char mnemonic_of(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return static_cast<char>(text[i + 1].toUpper().toLatin1());
    }
    return 0;
}

void expect_fixed_size_and_nothing_cut_off(orvix_dialog& dialog) {
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the size follows the contents";
    EXPECT_EQ(dialog.size(), dialog.minimumSize());
    std::vector<QWidget*> controls;
    for (QWidget* widget : dialog.findChildren<QWidget*>())
        if (widget->isVisible() && is_control(widget)) controls.push_back(widget);
    for (QWidget* widget : controls) {
        SCOPED_TRACE(describe(widget));
        const QRect area(widget->mapTo(&dialog, QPoint()), widget->size());
        EXPECT_TRUE(dialog.rect().contains(area)) << "inside the dialog";
        auto* label = qobject_cast<QLabel*>(widget);
        if (label != nullptr && label->wordWrap()) {
            EXPECT_GE(widget->height(), label->heightForWidth(widget->width()));
        } else if (label != nullptr || qobject_cast<QAbstractButton*>(widget) != nullptr) {
            EXPECT_GE(widget->width(), widget->sizeHint().width()) << "text cut off";
            EXPECT_GE(widget->height(), widget->sizeHint().height()) << "text cut off";
        } else {
            EXPECT_GE(widget->width(), widget->minimumSizeHint().width());
        }
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        SCOPED_TRACE(group->title().toStdString());
        EXPECT_GE(group->width(), group->minimumSizeHint().width()) << "title cut off";
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const QRect a(controls[i]->mapTo(&dialog, QPoint()), controls[i]->size());
            const QRect b(controls[j]->mapTo(&dialog, QPoint()), controls[j]->size());
            EXPECT_FALSE(a.intersects(b))
                << describe(controls[i]) << " overlaps " << describe(controls[j]);
        }
}

// Presses Tab once for every stop and returns the controls visited, the first included.
std::vector<std::string> tab_round(std::size_t stops) {
    std::vector<std::string> visited{name_of(QApplication::focusWidget())};
    for (std::size_t i = 0; i < stops; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(name_of(QApplication::focusWidget()));
    }
    return visited;
}

// The buttons of a radio group that the arrow keys reach from `start`.
std::set<QAbstractButton*> reached_by_arrows(QAbstractButton* start) {
    std::set<QAbstractButton*> seen{start};
    std::vector<QAbstractButton*> frontier{start};
    while (!frontier.empty()) {
        QAbstractButton* from = frontier.back();
        frontier.pop_back();
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
            from->setFocus(Qt::TabFocusReason);
            QTest::keyClick(from, key);
            auto* to = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            if (to != nullptr && to->group() == start->group() && seen.insert(to).second)
                frontier.push_back(to);
        }
    }
    return seen;
}

void expect_every_control_reachable(orvix_dialog& dialog, const std::vector<std::string>& tabs) {
    const std::set<std::string> tab_stops(tabs.begin(), tabs.end());
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (!widget->isVisible() || !widget->isEnabled() || !is_control(widget) ||
            widget->focusPolicy() == Qt::NoFocus)
            continue;
        SCOPED_TRACE(describe(widget));
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if (radio == nullptr || radio->group() == nullptr) {
            EXPECT_EQ(tab_stops.count(name_of(widget)), 1u) << "not reached by Tab";
            continue;
        }
        // A radio button: its group has one Tab stop, from which the arrows reach it.
        QAbstractButton* stop = nullptr;
        for (QAbstractButton* button : radio->group()->buttons())
            if (tab_stops.count(name_of(button)) != 0) stop = button;
        ASSERT_NE(stop, nullptr) << "no Tab stop in its group";
        EXPECT_EQ(reached_by_arrows(stop).count(radio), 1u) << "not reached by the arrow keys";
    }
}

void expect_mnemonics(orvix_dialog& dialog, scripted_services& ui, const dialog_case& c) {
    std::map<char, int> uses;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisible() && label->buddy() != nullptr) ++uses[mnemonic_of(label->text())];
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->isVisible()) ++uses[mnemonic_of(button->text())];
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) ++uses[mnemonic_of(group->title())];
    uses.erase(0);
    std::set<char> shared;
    for (const auto& [letter, count] : uses)
        if (count > 1) shared.insert(letter);
    EXPECT_EQ(shared, c.shared_letters);
    for (const mnemonic_case& m : c.mnemonics) {
        SCOPED_TRACE(std::string("Alt+") + m.letter);
        if (m.targets == std::set<std::string>{"help"}) {
            // A push button's own mnemonic presses it (after a moment's animation).
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(m.letter),
                            Qt::AltModifier);
            QTest::qWait(200);
            EXPECT_EQ(ui.help_topics.size(), 1u);
            EXPECT_TRUE(dialog.isVisible());
            continue;
        }
        std::set<std::string> reached;
        for (std::size_t i = 0; i < m.targets.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(m.letter),
                            Qt::AltModifier);
            reached.insert(name_of(QApplication::focusWidget()));
        }
        EXPECT_EQ(reached, m.targets);
        EXPECT_TRUE(dialog.isVisible());
    }
    QTest::qWait(200);  // a mnemonic's click on a radio button is animated
}

// Opens the dialog over the main window and runs `check` on it while it is open.
void inspect(const dialog_case& c,
             const std::function<void(orvix_dialog&, scripted_services&)>& check) {
    main_window window;
    window.show();
    scripted_services ui;
    modal_script script;
    bool ran = false;
    script.then([&](QWidget* modal) {
        auto* dialog = qobject_cast<orvix_dialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        ran = true;
        check(*dialog, ui);
        if (dialog->isVisible()) dialog->reject();
    });
    c.open(&window, ui);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(script.unexpected().empty());
}

std::vector<dialog_case> dialog_cases() {
    std::vector<dialog_case> cases;
    cases.push_back(
        {"Dipolar Second Moment",
         [](QWidget* owner, services& ui) {
             static dipolar_parameters record;
             record = dipolar_parameters{};
             return run_dipolar_dialog(owner, ui, record);
         },
         {"observed_nucleus", "coupled_nucleus", "abundance", "single_crystal", "alpha", "beta",
          "gamma_start", "gamma_increment", "gamma_end", "phase", "clockwise", "cutoff", "ok",
          "cancel", "help", "observed_nucleus"},
         // As the dialog's texts are given: "&Observed" and "&OK", "&Coupled" and "&Cancel",
         // "&Dipolar" and "Cut-off &distance", "&powder" and "&Phase angle", "&single
         // crystal", "Gamma (&start)" and "&Sense of rotation".
         {'C', 'D', 'O', 'P', 'S'},
         {{'R', {"alpha"}},
          {'D', {"observed_nucleus", "cutoff"}},
          {'O', {"observed_nucleus", "ok"}},
          {'C', {"coupled_nucleus", "cancel"}},
          {'N', {"abundance"}},
          {'P', {"powder", "phase"}},
          {'S', {"single_crystal", "gamma_start", "clockwise"}},
          {'A', {"alpha"}},
          {'B', {"beta"}},
          {'I', {"gamma_increment"}},
          {'E', {"gamma_end"}},
          {'H', {"help"}}}});
    cases.push_back({"Symmetry Operations, first",
                     [](QWidget* owner, services& ui) {
                         symmetry_operation operation;
                         return run_symmetry_operations_dialog(owner, ui, operation);
                     },
                     {"position_count", "factor_X", "shift_X", "source_X_x", "factor_Y", "shift_Y",
                      "source_Y_y", "factor_Z", "shift_Z", "source_Z_z", "ok", "cancel", "help",
                      "position_count"},
                     {},
                     {{'H', {"help"}}}});
    cases.push_back({"Symmetry Operations, later",
                     [](QWidget* owner, services& ui) {
                         symmetry_operation operation;
                         operation.position_count = 3;
                         operation.current_position = 2;
                         return run_symmetry_operations_dialog(owner, ui, operation);
                     },
                     {"factor_X", "shift_X", "source_X_x", "factor_Y", "shift_Y", "source_Y_y",
                      "factor_Z", "shift_Z", "source_Z_z", "ok", "cancel", "help", "factor_X"},
                     {},
                     {{'H', {"help"}}}});
    cases.push_back({"Generate Block",
                     [](QWidget* owner, services& ui) {
                         block_record block;
                         return run_generate_block_dialog(owner, ui, block);
                     },
                     {"block_n", "ok", "cancel", "help", "block_n"},
                     {},
                     {{'H', {"help"}}}});
    cases.push_back({"Cluster around an Atom",
                     [](QWidget* owner, services& ui) {
                         cluster_record record;
                         record.labels = {"Na1", "Cl1"};
                         return run_cluster_dialog(owner, ui, record);
                     },
                     {"cluster_site", "cluster_radius", "ok", "cancel", "help", "cluster_site"},
                     {},
                     {{'S', {"cluster_site"}}, {'R', {"cluster_radius"}}, {'H', {"help"}}}});
    cases.push_back(
        {"Axis Inversion",
         [](QWidget* owner, services& ui) {
             int axis = 0;
             return run_axis_inversion_dialog(owner, ui, axis);
         },
         {"invert_z", "ok", "cancel", "help", "invert_z"},
         {},
         {{'X', {"invert_x"}}, {'Y', {"invert_y"}}, {'Z', {"invert_z"}}, {'H', {"help"}}}});
    cases.push_back({"Euler Angles",
                     [](QWidget* owner, services& ui) {
                         return run_euler_angles_dialog(owner, ui, euler_angles{30, 40, 50});
                     },
                     {"ok", "cancel", "help", "alpha", "beta", "gamma", "ok"},
                     {},
                     {{'H', {"help"}}}});
    cases.push_back({"Euler Rotations",
                     [](QWidget* owner, services& ui) {
                         euler_angles angles{30, 40, 50};
                         return run_euler_rotations_dialog(owner, ui, angles);
                     },
                     {"alpha", "beta", "gamma", "ok", "cancel", "help", "alpha"},
                     {},
                     {{'H', {"help"}}}});
    cases.push_back({"Order of Axes",
                     [](QWidget* owner, services& ui) {
                         axis_order order;
                         return run_order_of_axes_dialog(owner, ui, order);
                     },
                     {"x_a", "y_b", "z_c", "ok", "cancel", "help", "x_a"},
                     {},
                     {{'H', {"help"}}}});
    cases.push_back({"Tensor Parameters",
                     [](QWidget* owner, services& ui) {
                         tensor_parameters_record record;
                         return run_tensor_parameters_dialog(owner, ui, record);
                     },
                     {"shielding", "reference", "ok", "cancel", "help", "shielding"},
                     {},
                     {{'R', {"reference"}}, {'S', {"shielding"}}, {'H', {"help"}}}});
    return cases;
}

TEST(DialogLayout, FixedSizeNothingCutOffNothingOverlapping) {
    for (const dialog_case& c : dialog_cases()) {
        SCOPED_TRACE(c.name);
        inspect(c, [](orvix_dialog& dialog, scripted_services&) {
            expect_fixed_size_and_nothing_cut_off(dialog);
            EXPECT_TRUE(dialog.ok_button()->isDefault());
            for (QPushButton* button :
                 {dialog.ok_button(), dialog.cancel_button(), dialog.help_button()})
                EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();
        });
    }
}

TEST(DialogKeyboard, TabFollowsTheReadingOrderAndReachesEveryControl) {
    for (const dialog_case& c : dialog_cases()) {
        SCOPED_TRACE(c.name);
        inspect(c, [&c](orvix_dialog& dialog, scripted_services&) {
            const std::vector<std::string> visited = tab_round(c.tab_order.size() - 1);
            EXPECT_EQ(visited, c.tab_order);
            expect_every_control_reachable(dialog, visited);
        });
    }
}

TEST(DialogKeyboard, EachMnemonicReachesItsControls) {
    for (const dialog_case& c : dialog_cases()) {
        SCOPED_TRACE(c.name);
        inspect(c, [&c](orvix_dialog& dialog, scripted_services& ui) {
            expect_mnemonics(dialog, ui, c);
        });
    }
}

// Tab into a radio group stops at its checked button, wherever it stands in the group.
TEST(DialogKeyboard, TabStopsAtTheCheckedButtonOfAGroup) {
    const struct {
        const char* name;
        axis_order order;
        std::vector<std::string> tab_order;
    } cases[] = {
        {"c, a, b", {{2, 0, 1}}, {"x_c", "y_a", "z_b", "ok"}},
        {"b, b, a", {{1, 1, 0}}, {"x_b", "y_b", "z_a", "ok"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const dialog_case opening{"Order of Axes",
                                  [&c](QWidget* owner, services& ui) {
                                      axis_order order = c.order;
                                      return run_order_of_axes_dialog(owner, ui, order);
                                  },
                                  {},
                                  {},
                                  {}};
        inspect(opening, [&c](orvix_dialog&, scripted_services&) {
            EXPECT_EQ(tab_round(c.tab_order.size() - 1), c.tab_order);
        });
    }
}

}  // namespace
}  // namespace orvix

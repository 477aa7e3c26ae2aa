// The "Dipolar Second Moment" dialog, driven on the offscreen platform: what the first use
// shows, every text and mnemonic, finding a nucleus by typing, the selection rules, edits
// reaching the record as they are made, and the record carried from one use to the next.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "platform/scripted_services.h"
#include "support/qt_dialog_support.h"

namespace orvix {
namespace {

orvix_dialog* open_dialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("dipolar_dialog") && w->isVisible())
            return qobject_cast<orvix_dialog*>(w);
    return nullptr;
}

// Shows the dialog on the record and runs `script` on it once it is open; a script that
// leaves the dialog open has it cancelled, so a failing check never hangs the test.
dialog_result drive(scripted_services& ui, dipolar_parameters& record,
                    const std::function<void(orvix_dialog&)>& script) {
    bool ran = false;
    std::function<void()> attempt;
    attempt = [&] {
        orvix_dialog* dialog = open_dialog();
        if (dialog == nullptr) {
            QTimer::singleShot(10, attempt);
            return;
        }
        ran = true;
        script(*dialog);
        if (dialog->isVisible()) dialog->reject();
    };
    QTimer::singleShot(0, attempt);
    const dialog_result result = run_dipolar_dialog(nullptr, ui, record);
    EXPECT_TRUE(ran);
    return result;
}

using test::child;
using test::type_into;

QString text_of(orvix_dialog& dialog, const char* name) {
    if (auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(name)))
        return combo->currentText();
    QLineEdit* field = child<QLineEdit>(dialog, name);
    return field != nullptr ? field->text() : QString();
}

QLineEdit* editor_of(orvix_dialog& dialog, const char* list) {
    return child<QComboBox>(dialog, list)->lineEdit();
}

// Types into a nucleus list, then closes the completer's list of matches as Escape would.
void type_into_list(orvix_dialog& dialog, const char* list, const QString& text) {
    auto* combo = child<QComboBox>(dialog, list);
    type_into(combo->lineEdit(), text);
    if (combo->completer() != nullptr) combo->completer()->popup()->hide();
}

int position(const char* label) {
    return find_nucleus_position(label).value();
}

class DipolarDialog : public testing::Test {
  protected:
    scripted_services ui_;
    dipolar_parameters record_;
};

TEST_F(DipolarDialog, FirstUseShowsTheInitialValues) {
    drive(ui_, record_, [](orvix_dialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Dipolar Second Moment"));
        const struct {
            const char* name;
            const char* text;
        } fields[] = {{"observed_nucleus", "1H"},      {"coupled_nucleus", "1H"},
                      {"abundance", "100.000000"},     {"alpha", "0.000000"},
                      {"beta", "90.000000"},           {"gamma_start", "0.000000"},
                      {"gamma_increment", "1.000000"}, {"gamma_end", "180.000000"},
                      {"phase", "0.000000"},           {"cutoff", "1000.000000"}};
        for (const auto& f : fields) {
            SCOPED_TRACE(f.name);
            EXPECT_EQ(text_of(d, f.name), QString::fromLatin1(f.text));
        }
        EXPECT_TRUE(child<QRadioButton>(d, "single_crystal")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "powder")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(d, "clockwise")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "anticlockwise")->isChecked());
        EXPECT_EQ(child<QComboBox>(d, "observed_nucleus")->count(),
                  static_cast<int>(nuclei_table().size()));
        EXPECT_TRUE(d.ok_button()->isDefault());
        EXPECT_TRUE(d.ok_button()->isEnabled());
        d.cancel_button()->click();
    });
}

TEST_F(DipolarDialog, EveryTextAndMnemonic) {
    drive(ui_, record_, [](orvix_dialog& d) {
        QStringList titles;
        for (auto* box : d.findChildren<QGroupBox*>()) titles << box->title();
        EXPECT_EQ(titles, (QStringList{QStringLiteral("Define &Dipolar Interaction:"),
                                       QStringLiteral("Type of Moment Calculation:"),
                                       QStringLiteral("Define Orientation of &Rotation Axis:")}));
        // Each label with the control its mnemonic reaches.
        const struct {
            const char* text;
            const char* buddy;
        } labels[] = {{"&Observed nucleus:", "observed_nucleus"},
                      {"&Coupled nucleus:", "coupled_nucleus"},
                      {"&Natural abundance:", "abundance"},
                      {"&Alpha:", "alpha"},
                      {"&Beta:", "beta"},
                      {"Gamma (&start):", "gamma_start"},
                      {"Gamma (&incr.):", "gamma_increment"},
                      {"Gamma (&end):", "gamma_end"},
                      {"&Phase angle:", "phase"},
                      {"&Sense of rotation:", "clockwise"},
                      {"Cut-off &distance:", "cutoff"}};
        QStringList units;
        for (auto* label : d.findChildren<QLabel*>())
            if (label->buddy() == nullptr) units << label->text();
        for (const auto& l : labels) {
            SCOPED_TRACE(l.text);
            QLabel* found = nullptr;
            for (auto* label : d.findChildren<QLabel*>())
                if (label->text() == QString::fromLatin1(l.text)) found = label;
            ASSERT_NE(found, nullptr);
            ASSERT_NE(found->buddy(), nullptr);
            EXPECT_EQ(found->buddy()->objectName(), QString::fromLatin1(l.buddy));
        }
        EXPECT_EQ(units.count(QStringLiteral("deg")), 6);
        EXPECT_EQ(units.count(QStringLiteral("A")), 1);
        EXPECT_EQ(child<QRadioButton>(d, "powder")->text(), QStringLiteral("&powder"));
        EXPECT_EQ(child<QRadioButton>(d, "single_crystal")->text(),
                  QStringLiteral("&single crystal (define rotation axis in next section)"));
        EXPECT_EQ(child<QRadioButton>(d, "clockwise")->text(),
                  QStringLiteral("clockwise (single-crystal NMR)"));
        EXPECT_EQ(child<QRadioButton>(d, "anticlockwise")->text(), QStringLiteral("anticlockwise"));
        EXPECT_EQ(d.ok_button()->text(), QStringLiteral("&OK"));
        EXPECT_EQ(d.cancel_button()->text(), QStringLiteral("&Cancel"));
        EXPECT_EQ(d.help_button()->text(), QStringLiteral("&Help"));
        // Every control stays enabled whatever the moment type.
        child<QRadioButton>(d, "powder")->click();
        for (const char* name : {"alpha", "beta", "gamma_start", "gamma_increment", "gamma_end",
                                 "phase", "clockwise", "anticlockwise"})
            EXPECT_TRUE(child<QWidget>(d, name)->isEnabled()) << name;
    });
}

TEST_F(DipolarDialog, TypingFindsANucleusAndTheSelectionRulesHold) {
    drive(ui_, record_, [this](orvix_dialog& d) {
        auto* abundance = child<QLineEdit>(d, "abundance");
        type_into_list(d, "coupled_nucleus", QStringLiteral("27al"));
        EXPECT_EQ(record_.coupled_nucleus, position("27Al"));
        EXPECT_EQ(text_of(d, "coupled_nucleus"), QStringLiteral("27Al"));
        type_into_list(d, "coupled_nucleus", QStringLiteral("13C"));
        EXPECT_EQ(record_.coupled_nucleus, position("13C"));
        EXPECT_EQ(record_.abundance, 1.07);
        EXPECT_EQ(abundance->text(), QStringLiteral("1.070000"));
        // A typed abundance replaces the selected one ...
        type_into(abundance, QStringLiteral("50"));
        EXPECT_EQ(record_.abundance, 50.0);
        // ... and an observed selection leaves it alone.
        QTest::keyClick(child<QComboBox>(d, "observed_nucleus"), Qt::Key_Down);
        EXPECT_EQ(record_.observed_nucleus, 1);
        type_into_list(d, "observed_nucleus", QStringLiteral("19F"));
        EXPECT_EQ(record_.observed_nucleus, position("19F"));
        EXPECT_EQ(record_.abundance, 50.0);
        EXPECT_EQ(abundance->text(), QStringLiteral("50"));
        // Choosing a coupled nucleus from the list replaces it again.
        QTest::keyClick(child<QComboBox>(d, "coupled_nucleus"), Qt::Key_Up);
        EXPECT_EQ(record_.coupled_nucleus, position("11B"));
        EXPECT_EQ(record_.abundance, 80.1);
        EXPECT_EQ(abundance->text(), QStringLiteral("80.100000"));
        d.ok_button()->click();
    });
    EXPECT_EQ(record_.observed_nucleus, position("19F"));
}

TEST_F(DipolarDialog, TextNamingNoNucleusKeepsOkDisabled) {
    drive(ui_, record_, [this](orvix_dialog& d) {
        QLineEdit* observed = editor_of(d, "observed_nucleus");
        type_into(observed, QStringLiteral("99X"));
        EXPECT_FALSE(d.ok_button()->isEnabled());
        EXPECT_EQ(record_.observed_nucleus, 0);
        // Leaving the list shows the selected nucleus again.
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(child<QComboBox>(d, "observed_nucleus"), Qt::Key_Tab);
        EXPECT_EQ(observed->text(), QStringLiteral("1H"));
        EXPECT_TRUE(d.ok_button()->isEnabled());
        d.ok_button()->click();
    });
}

// Return or Enter on a name of no nucleus neither brings the old one back nor reaches OK;
// once the name is right, Return is OK.
TEST_F(DipolarDialog, EnterOnAnUnknownNameKeepsTheDialogOpen) {
    const dialog_result result = drive(ui_, record_, [this](orvix_dialog& d) {
        auto* coupled = child<QComboBox>(d, "coupled_nucleus");
        type_into_list(d, "coupled_nucleus", QStringLiteral("19F"));
        QTest::keyClicks(coupled, QStringLiteral("13C"));
        coupled->completer()->popup()->hide();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            SCOPED_TRACE(key);
            QTest::keyClick(coupled, key);
            EXPECT_TRUE(d.isVisible());
            EXPECT_FALSE(d.ok_button()->isEnabled());
            EXPECT_EQ(coupled->currentText(), QStringLiteral("19F13C"));
            EXPECT_EQ(record_.coupled_nucleus, position("19F"));
        }
        type_into_list(d, "coupled_nucleus", QStringLiteral("13C"));
        QTest::keyClick(coupled, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(result, dialog_result::ok);
    EXPECT_EQ(record_.coupled_nucleus, position("13C"));
}

// Part of a label offers the matching nuclei; choosing one selects it.
TEST_F(DipolarDialog, CompleterOffersNucleiContainingTheTypedText) {
    drive(ui_, record_, [this](orvix_dialog& d) {
        auto* coupled = child<QComboBox>(d, "coupled_nucleus");
        type_into(coupled->lineEdit(), QStringLiteral("Al"));
        EXPECT_FALSE(d.ok_button()->isEnabled());
        QCompleter* finder = coupled->completer();
        ASSERT_NE(finder, nullptr);
        EXPECT_EQ(finder->completionCount(), 1);
        EXPECT_EQ(finder->currentCompletion(), QStringLiteral("27Al"));
        QAbstractItemView* matches = finder->popup();
        matches->setCurrentIndex(finder->completionModel()->index(0, 0));
        QTest::keyClick(matches, Qt::Key_Return);
        EXPECT_EQ(record_.coupled_nucleus, position("27Al"));
        EXPECT_EQ(coupled->currentText(), QStringLiteral("27Al"));
        EXPECT_TRUE(d.ok_button()->isEnabled());
        d.ok_button()->click();
    });
}

TEST_F(DipolarDialog, EditsReachTheRecordAndComeBackAtTheNextUse) {
    const dialog_result first = drive(ui_, record_, [this](orvix_dialog& d) {
        type_into(child<QLineEdit>(d, "alpha"), QStringLiteral("12.5"));
        EXPECT_EQ(record_.alpha, 12.5);
        type_into(child<QLineEdit>(d, "gamma_increment"), QStringLiteral("-2"));
        EXPECT_EQ(record_.gamma_increment, -2.0);
        type_into(child<QLineEdit>(d, "cutoff"), QStringLiteral("-2.5"));
        EXPECT_EQ(record_.cutoff, -2.5);
        child<QRadioButton>(d, "powder")->click();
        EXPECT_EQ(record_.moment_type, 0);
        child<QRadioButton>(d, "anticlockwise")->click();
        EXPECT_EQ(record_.rotation_sense, 1);
        type_into_list(d, "coupled_nucleus", QStringLiteral("19F"));
        d.cancel_button()->click();
    });
    EXPECT_EQ(first, dialog_result::cancel);
    const dialog_result second = drive(ui_, record_, [](orvix_dialog& d) {
        EXPECT_EQ(text_of(d, "alpha"), QStringLiteral("12.500000"));
        EXPECT_EQ(text_of(d, "gamma_increment"), QStringLiteral("-2.000000"));
        EXPECT_EQ(text_of(d, "cutoff"), QStringLiteral("-2.500000"));
        EXPECT_EQ(text_of(d, "coupled_nucleus"), QStringLiteral("19F"));
        EXPECT_EQ(text_of(d, "abundance"), QStringLiteral("100.000000"));
        EXPECT_TRUE(child<QRadioButton>(d, "powder")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(d, "anticlockwise")->isChecked());
        child<QRadioButton>(d, "single_crystal")->click();
        d.ok_button()->click();
    });
    EXPECT_EQ(second, dialog_result::ok);
    EXPECT_EQ(record_.moment_type, 1);
}

TEST_F(DipolarDialog, HelpShowsItsTopicAndLeavesTheDialogOpen) {
    drive(ui_, record_, [this](orvix_dialog& d) {
        d.help_button()->click();
        EXPECT_EQ(ui_.help_topics, std::vector<std::string>{"HLP_DIPMOM"});
        EXPECT_TRUE(d.isVisible());
        d.cancel_button()->click();
    });
}

}  // namespace
}  // namespace orvix

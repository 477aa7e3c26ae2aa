// The "Tensor Parameters" dialog, driven offscreen: the fields reach the record, each field
// counts only for its kind, and OK stays disabled for an EFG without its nucleus or for a
// reference that is not a number.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/dialogs.h"
#include "dipolar/nuclei.h"
#include "support/qt_dialog_support.h"

namespace orvix {
namespace {

using test::child;
using test::type_into;
using test::when_open;

TEST(TensorParametersDialog, FieldsReachTheRecordAndOkWaitsForAValidAnswer) {
    scripted_services ui;
    tensor_parameters_record record;
    when_open([&ui, &record](orvix_dialog& dialog) {
        QPushButton* ok = dialog.ok_button();
        auto* reference = child<QLineEdit>(dialog, "reference");
        auto* nucleus = child<QComboBox>(dialog, "nucleus");
        EXPECT_TRUE(child<QRadioButton>(dialog, "shielding")->isChecked());
        EXPECT_TRUE(reference->isEnabled());
        EXPECT_FALSE(nucleus->isEnabled());
        // The list holds the quadrupolar nuclei only, and none is chosen yet.
        EXPECT_EQ(nucleus->currentIndex(), -1);
        EXPECT_EQ(nucleus->itemText(0), "2H");
        EXPECT_EQ(nucleus->findText("13C"), -1);
        dialog.help_button()->click();
        EXPECT_EQ(ui.help_topics, std::vector<std::string>{"HLP_TENSORPARAMS"});

        type_into(reference, "1e6");
        EXPECT_FALSE(ok->isEnabled());
        // Shift has no reference: the field's text no longer holds OK back.
        child<QRadioButton>(dialog, "shift")->click();
        EXPECT_FALSE(reference->isEnabled());
        EXPECT_TRUE(ok->isEnabled());
        child<QRadioButton>(dialog, "shielding")->click();
        EXPECT_FALSE(ok->isEnabled());
        type_into(reference, " 170.5 ");
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_TRUE(record.has_reference);
        reference->selectAll();
        QTest::keyClick(reference, Qt::Key_Backspace);
        EXPECT_TRUE(ok->isEnabled()) << "an empty field is no reference";
        EXPECT_FALSE(record.has_reference);

        child<QRadioButton>(dialog, "efg")->click();
        EXPECT_TRUE(nucleus->isEnabled());
        EXPECT_FALSE(ok->isEnabled()) << "an EFG needs its nucleus";
        nucleus->setCurrentIndex(nucleus->findText("27Al"));
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
        if (dialog.isVisible()) dialog.reject();  // a failure above must not hang the test
    });
    EXPECT_EQ(run_tensor_parameters_dialog(nullptr, ui, record), dialog_result::ok);
    EXPECT_EQ(record.kind, 2);
    EXPECT_EQ(record.nucleus, *find_nucleus_position("27Al"));
    EXPECT_EQ(record.reference, 170.5);
}

}  // namespace
}  // namespace orvix

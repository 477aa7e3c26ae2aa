// The Symmetry Operations, Generate Block and Cluster around an Atom dialogs, driven
// offscreen: what each opening shows, how edits reach the record, Help and Cancel, and the
// whole Generate Positions flow through the real dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <functional>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "generate/generate_actions.h"
#include "platform/scripted_services.h"
#include "support/qt_dialog_support.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::child;
using test::type_into;
using test::when_open;

// Scripted services whose two generate dialogs are the real Qt dialogs.
class dialog_services : public scripted_services {
  public:
    std::vector<test::dialog_script> symmetry_scripts;
    test::dialog_script block_script;

    dialog_result symmetry_operations_dialog(symmetry_operation& operation) override {
        const std::size_t index = symmetry_openings++;
        if (index < symmetry_scripts.size()) when_open(symmetry_scripts[index]);
        return run_symmetry_operations_dialog(nullptr, *this, operation);
    }
    dialog_result generate_block_dialog(block_record& block) override {
        if (block_script) when_open(block_script);
        return run_generate_block_dialog(nullptr, *this, block);
    }
    std::size_t symmetry_openings = 0;
};

const char* const rows[3] = {"X", "Y", "Z"};

std::string source_name(int row, int source) {
    return std::string("source_") + rows[row] + "_" + "xyz"[source];
}

// Checks that an opening shows the identity.
void expect_identity(orvix_dialog& dialog) {
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(rows[row]);
        EXPECT_EQ(child<QLineEdit>(dialog, (std::string("factor_") + rows[row]).c_str())->text(),
                  "1.000000");
        EXPECT_EQ(child<QLineEdit>(dialog, (std::string("shift_") + rows[row]).c_str())->text(),
                  "0.000000");
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ(child<QRadioButton>(dialog, source_name(row, s).c_str())->isChecked(),
                      s == row);
    }
}

TEST(SymmetryOperationsDialog, first_opening_edits_count_factors_shifts_and_sources) {
    scripted_services ui;
    symmetry_operation operation;
    when_open([](orvix_dialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Symmetry Operations");
        EXPECT_EQ(child<QLabel>(dialog, "position_label")->text(), "No. of Positions:");
        auto* count = child<QLineEdit>(dialog, "position_count");
        EXPECT_FALSE(count->isHidden());
        EXPECT_TRUE(count->isEnabled());
        EXPECT_EQ(count->text(), "1");
        expect_identity(dialog);
        type_into(count, "4");
        type_into(child<QLineEdit>(dialog, "factor_X"), "-1");
        type_into(child<QLineEdit>(dialog, "shift_Y"), "0.5");
        type_into(child<QLineEdit>(dialog, "factor_Z"), "-2.25");
        type_into(child<QLineEdit>(dialog, "shift_Z"), "-0.125");
        child<QRadioButton>(dialog, "source_X_y")->click();
        child<QRadioButton>(dialog, "source_Y_x")->click();
        EXPECT_FALSE(child<QRadioButton>(dialog, "source_X_x")->isChecked());
        dialog.ok_button()->click();
    });
    ASSERT_EQ(run_symmetry_operations_dialog(nullptr, ui, operation), dialog_result::ok);
    EXPECT_EQ(operation.position_count, 4);
    EXPECT_EQ(operation.factor, (std::array<double, 3>{-1, 1, -2.25}));
    EXPECT_EQ(operation.shift, (std::array<double, 3>{0, 0.5, -0.125}));
    EXPECT_EQ(operation.source, (std::array<std::uint8_t, 3>{1, 0, 2}));
}

TEST(SymmetryOperationsDialog, later_openings_show_the_current_position_instead_of_the_count) {
    scripted_services ui;
    for (std::int32_t position : {2, 3, 17}) {
        SCOPED_TRACE(position);
        symmetry_operation operation;
        operation.position_count = 17;
        operation.current_position = position;
        when_open([position](orvix_dialog& dialog) {
            EXPECT_EQ(child<QLabel>(dialog, "position_label")->text().toStdString(),
                      "Current Position: " + std::to_string(position));
            auto* count = child<QLineEdit>(dialog, "position_count");
            EXPECT_TRUE(count->isHidden());
            EXPECT_FALSE(count->isEnabled());
            dialog.ok_button()->click();
        });
        EXPECT_EQ(run_symmetry_operations_dialog(nullptr, ui, operation), dialog_result::ok);
        EXPECT_EQ(operation.position_count, 17);
    }
}

TEST(SymmetryOperationsDialog, help_leaves_it_open_and_cancel_answers_cancel) {
    scripted_services ui;
    symmetry_operation operation;
    when_open([&ui](orvix_dialog& dialog) {
        dialog.help_button()->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ui.help_topics, std::vector<std::string>{"HLP_SYMMOP"});
        dialog.cancel_button()->click();
    });
    EXPECT_EQ(run_symmetry_operations_dialog(nullptr, ui, operation), dialog_result::cancel);
}

TEST(SymmetryOperationsDialog, a_count_beyond_32_bits_disables_ok) {
    scripted_services ui;
    symmetry_operation operation;
    when_open([](orvix_dialog& dialog) {
        auto* count = child<QLineEdit>(dialog, "position_count");
        type_into(count, "2147483648");
        EXPECT_FALSE(dialog.ok_button()->isEnabled());
        type_into(count, "2147483647");
        EXPECT_TRUE(dialog.ok_button()->isEnabled());
        dialog.ok_button()->click();
    });
    EXPECT_EQ(run_symmetry_operations_dialog(nullptr, ui, operation), dialog_result::ok);
    EXPECT_EQ(operation.position_count, 2147483647);
}

TEST(GeneratePositionsFlow, the_real_dialogs_give_the_two_operation_example) {
    // First dialog: two positions, identity. Second: X = -x, Y = y + 0.5, Z = -z + 0.5.
    test::scratch_dir dir;
    dialog_services ui;
    ui.symmetry_scripts.push_back([](orvix_dialog& dialog) {
        expect_identity(dialog);
        type_into(child<QLineEdit>(dialog, "position_count"), "2");
        dialog.ok_button()->click();
    });
    ui.symmetry_scripts.push_back([](orvix_dialog& dialog) {
        expect_identity(dialog);  // not what the first one held
        EXPECT_EQ(child<QLabel>(dialog, "position_label")->text(), "Current Position: 2");
        EXPECT_TRUE(child<QLineEdit>(dialog, "position_count")->isHidden());
        type_into(child<QLineEdit>(dialog, "factor_X"), "-1");
        type_into(child<QLineEdit>(dialog, "shift_Y"), "0.5");
        type_into(child<QLineEdit>(dialog, "factor_Z"), "-1");
        type_into(child<QLineEdit>(dialog, "shift_Z"), "0.5");
        dialog.ok_button()->click();
    });
    const std::string out = dir.file("result.cry");
    EXPECT_EQ(test::run_on_text(cmd::generate_positions, ui,
                                test::read_data("generate/positions_input.cry"), out),
              action_result::completed);
    EXPECT_EQ(ui.symmetry_openings, 2u);
    EXPECT_EQ(test::read_file(out), test::read_data("generate/positions_two.cry"));
}

TEST(GenerateBlockDialog, shows_its_text_and_edits_n) {
    scripted_services ui;
    block_record block;
    when_open([&ui](orvix_dialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Generate Block");
        EXPECT_EQ(child<QLabel>(dialog, "block_text")->text(),
                  "This option generates crystallographic positions automatically by translating "
                  "the input coordinates by multiples n of the unit cell constants.");
        auto* n = child<QLineEdit>(dialog, "block_n");
        EXPECT_EQ(n->text(), "1");
        dialog.help_button()->click();
        EXPECT_EQ(ui.help_topics, std::vector<std::string>{"HLP_GENAUTO"});
        type_into(n, "2147483648");
        EXPECT_FALSE(dialog.ok_button()->isEnabled());
        type_into(n, "-2147483649");
        EXPECT_FALSE(dialog.ok_button()->isEnabled());
        type_into(n, "-3");
        EXPECT_TRUE(dialog.ok_button()->isEnabled());
        dialog.ok_button()->click();
    });
    EXPECT_EQ(run_generate_block_dialog(nullptr, ui, block), dialog_result::ok);
    EXPECT_EQ(block.n, -3);
}

TEST(ClusterDialog, offers_the_labels_and_edits_site_and_radius) {
    scripted_services ui;
    cluster_record record;
    record.labels = {"Na1", "Cl1", "O\xe9"};  // a Latin-1 label stays one
    record.site = "Cl1";
    when_open([&ui](orvix_dialog& dialog) {
        auto* site = child<QComboBox>(dialog, "cluster_site");
        ASSERT_EQ(site->count(), 3);
        EXPECT_EQ(site->itemText(2), QString::fromLatin1("O\xe9"));
        EXPECT_EQ(site->currentText(), "Cl1");
        EXPECT_FALSE(site->isEditable());
        auto* radius = child<QLineEdit>(dialog, "cluster_radius");
        EXPECT_EQ(radius->text(), "10.000000");
        site->setFocus();
        QTest::keyClick(site, Qt::Key_Down);
        type_into(radius, "ten");
        EXPECT_FALSE(dialog.ok_button()->isEnabled());
        type_into(radius, "15.5");
        EXPECT_TRUE(dialog.ok_button()->isEnabled());
        dialog.ok_button()->click();
    });
    ASSERT_EQ(run_cluster_dialog(nullptr, ui, record), dialog_result::ok);
    EXPECT_EQ(record.site, "O\xe9");
    EXPECT_EQ(record.radius, 15.5);
}

// The words of each dialog as the user reads them, its buttons, and its Help topic.
TEST(GenerateDialogs, show_their_own_words_and_help_topics) {
    // clang-format off
    const std::vector<test::dialog_face> cases = {
        {"Symmetry Operations",
         [](services& ui) {
             symmetry_operation operation;
             operation.position_count = 1;
             reset_symmetry_operation(operation, 1);
             return run_symmetry_operations_dialog(nullptr, ui, operation);
         },
         {"No. of Positions:", "Source:", "X", "Factor:", "Shift:", "Y", "Factor:", "Shift:", "Z",
          "Factor:", "Shift:"},
         {"x", "y", "z", "x", "y", "z", "x", "y", "z"}, "HLP_SYMMOP"},
        {"Generate Block",
         [](services& ui) {
             block_record block;
             block.n = 1;
             return run_generate_block_dialog(nullptr, ui, block);
         },
         {"This option generates crystallographic positions automatically by translating the "
          "input coordinates by multiples n of the unit cell constants.", "n:"},
         {}, "HLP_GENAUTO"},
        {"Cluster around an Atom",
         [](services& ui) {
             cluster_record record;
             record.labels = {"H1"};
             return run_cluster_dialog(nullptr, ui, record);
         },
         {"Writes the first atom with the chosen label and every atom of the periodic crystal "
          "within the radius of it, nearest first, in Cartesian coordinates.", "&Site:",
          "&Radius:", "A"},
         {}, "HLP_CLUSTER"},
    };
    // clang-format on
    for (const auto& c : cases) test::expect_dialog_face(c);
}

TEST(GenerateBlockFlow, the_real_dialog_gives_the_golden_results) {
    struct flow_case {
        const char* name;
        const char* typed;  // nothing: Cancel
        const char* golden;
    };
    const std::vector<flow_case> cases = {
        {"n = 1 as proposed", "1", "generate/block_n1.cry"},
        {"n = 0", "0", "generate/block_n0.cry"},
        {"Cancel", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::scratch_dir dir;
        dialog_services ui;
        ui.block_script = [&c](orvix_dialog& dialog) {
            if (c.typed == nullptr) {
                dialog.cancel_button()->click();
                return;
            }
            type_into(child<QLineEdit>(dialog, "block_n"), c.typed);
            dialog.ok_button()->click();
        };
        const std::string out = dir.file("result.cry");
        test::run_on_text(cmd::generate_block, ui, test::read_data("generate/block_input.cry"),
                          out);
        EXPECT_EQ(test::read_file(out), c.golden ? test::read_data(c.golden) : std::string());
    }
}

}  // namespace
}  // namespace orvix

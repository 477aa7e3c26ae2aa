// The "Symmetry Operations" dialog: one simple operation per opening (factor, shift and
// source coordinate for the new X, Y and Z), and in the first opening only the number of
// operations to enter.
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <vector>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "platform/c_format.h"

namespace orvix {

dialog_result run_symmetry_operations_dialog(QWidget* owner, services& ui,
                                             symmetry_operation& operation) {
    orvix_dialog dialog(owner, QObject::tr("Symmetry Operations"), "HLP_SYMMOP", ui);
    dialog.setObjectName(QStringLiteral("symmetry_operations_dialog"));

    // The number of operations is chosen in the first dialog; later ones say which
    // operation is being entered instead.
    auto* top = new QHBoxLayout;
    auto* count_label = new QLabel(&dialog);
    count_label->setObjectName(QStringLiteral("position_label"));
    auto* count_field = new long_field(&dialog, operation.position_count);
    count_field->setObjectName(QStringLiteral("position_count"));
    if (operation.current_position == 1) {
        count_label->setText(QObject::tr("No. of Positions:"));
    } else {
        count_field->setEnabled(false);
        count_field->setVisible(false);
        count_label->setText(QString::fromLatin1(
            c_format("Current Position: %ld", static_cast<long>(operation.current_position))
                .c_str()));
    }
    count_label->setBuddy(count_field);
    top->addWidget(count_label);
    top->addWidget(count_field);
    top->addStretch(1);
    dialog.body()->addLayout(top);
    std::vector<QWidget*> reading_order;
    if (operation.current_position == 1) reading_order.push_back(count_field);

    auto* grid = new QGridLayout;
    auto* source_label = new QLabel(QObject::tr("Source:"), &dialog);
    grid->addWidget(source_label, 0, 5, 1, 3, Qt::AlignHCenter);
    static const char* const rows[3] = {"X", "Y", "Z"};
    static const char* const sources[3] = {"x", "y", "z"};
    for (int row = 0; row < 3; ++row) {
        const std::size_t r = static_cast<std::size_t>(row);
        const QString name = QString::fromLatin1(rows[row]);
        grid->addWidget(new QLabel(name, &dialog), row + 1, 0);
        auto* factor = new double_field(&dialog, operation.factor[r]);
        factor->setObjectName(QStringLiteral("factor_") + name);
        grid->addWidget(field_label(QObject::tr("Factor:"), factor, &dialog), row + 1, 1);
        grid->addWidget(factor, row + 1, 2);
        auto* shift = new double_field(&dialog, operation.shift[r]);
        shift->setObjectName(QStringLiteral("shift_") + name);
        grid->addWidget(field_label(QObject::tr("Shift:"), shift, &dialog), row + 1, 3);
        grid->addWidget(shift, row + 1, 4);
        reading_order.push_back(factor);
        reading_order.push_back(shift);

        // One exclusive trio per row; a click stores its index as the row's source.
        auto* group = new QButtonGroup(&dialog);
        for (int s = 0; s < 3; ++s) {
            auto* radio = new QRadioButton(QString::fromLatin1(sources[s]), &dialog);
            radio->setObjectName(QStringLiteral("source_") + name + QStringLiteral("_") +
                                 QString::fromLatin1(sources[s]));
            radio->setChecked(operation.source[r] == s);
            group->addButton(radio, s);
            grid->addWidget(radio, row + 1, 5 + s);
            reading_order.push_back(radio);
        }
        QObject::connect(group, &QButtonGroup::idClicked, &dialog, [&operation, r](int id) {
            operation.source[r] = static_cast<std::uint8_t>(id);
        });
    }
    dialog.body()->addLayout(grid);
    // The first opening starts at the number of operations, later ones at the X factor.
    dialog.set_reading_order(reading_order);
    return dialog.run();
}

}  // namespace orvix

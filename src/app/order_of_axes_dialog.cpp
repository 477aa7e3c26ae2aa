// The "Order of Axes" dialog: for each new position X, Y, Z the old axis a, b or c that
// takes it. Every choice is stored at once; OK tests nothing (the actions do).
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <vector>

#include "app/dialog_base.h"
#include "app/dialogs.h"

namespace orvix {

dialog_result run_order_of_axes_dialog(QWidget* owner, services& ui, axis_order& order) {
    orvix_dialog dialog(owner, QObject::tr("Order of Axes"), "HLP_AXISORDER", ui);
    dialog.setObjectName(QStringLiteral("order_of_axes_dialog"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QObject::tr("new:"), &dialog), 0, 0);
    grid->addWidget(new QLabel(QObject::tr("old axes:"), &dialog), 0, 1, 1, 3);
    const char* rows[3] = {"X:", "Y:", "Z:"};
    const char* row_names[3] = {"x", "y", "z"};
    const char* axes[3] = {"a", "b", "c"};
    std::vector<QWidget*> reading_order;
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(QString::fromLatin1(rows[r]), &dialog), r + 1, 0);
        // One exclusive group per row: the rows are independent of each other, so an
        // order that uses an axis twice can be chosen (and is refused by the action).
        auto* group = new QButtonGroup(&dialog);
        for (int a = 0; a < 3; ++a) {
            auto* button = new QRadioButton(QString::fromLatin1(axes[a]), &dialog);
            button->setObjectName(QString::fromLatin1(row_names[r]) + QLatin1Char('_') +
                                  QString::fromLatin1(axes[a]));
            group->addButton(button, a);
            grid->addWidget(button, r + 1, a + 1);
            reading_order.push_back(button);
        }
        int& member = order.row[static_cast<std::size_t>(r)];
        if (QAbstractButton* current = group->button(member)) current->setChecked(true);
        QObject::connect(group, &QButtonGroup::idClicked, &dialog,
                         [&member](int id) { member = id; });
    }
    dialog.body()->addLayout(grid);
    dialog.set_reading_order(reading_order);
    return dialog.run();
}

}  // namespace orvix

// The "Euler Rotations" dialog: three angle fields, proposed by the action from the
// clipboard, every edit stored in the record at once.
#include <QGridLayout>
#include <QLabel>
#include <vector>

#include "app/dialog_base.h"
#include "app/dialogs.h"

namespace orvix {

dialog_result run_euler_rotations_dialog(QWidget* owner, services& ui, euler_angles& angles) {
    orvix_dialog dialog(owner, QObject::tr("Euler Rotations"), "HLP_EULER", ui);
    dialog.setObjectName(QStringLiteral("euler_rotations_dialog"));
    auto* grid = new QGridLayout;
    const char* labels[3] = {"Alpha:", "Beta:", "Gamma:"};
    const char* names[3] = {"alpha", "beta", "gamma"};
    double* members[3] = {&angles.alpha, &angles.beta, &angles.gamma};
    std::vector<QWidget*> reading_order;
    for (int i = 0; i < 3; ++i) {
        auto* field = new double_field(&dialog, *members[i]);
        field->setObjectName(QString::fromLatin1(names[i]));
        grid->addWidget(field_label(QObject::tr(labels[i]), field, &dialog), i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(new QLabel(QObject::tr("deg"), &dialog), i, 2);
        reading_order.push_back(field);
    }
    grid->setColumnStretch(3, 1);
    dialog.body()->addLayout(grid);
    dialog.set_reading_order(reading_order);
    return dialog.run();
}

}  // namespace orvix

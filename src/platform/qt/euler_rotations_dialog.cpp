// The "Euler Rotations" dialog: three angle fields, proposed by the action from the
// clipboard, every edit stored in the record at once.
#include <QGridLayout>
#include <QLabel>

#include "platform/qt/dialog_base.h"
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_euler_rotations_dialog(QWidget* owner, services& ui, euler_angles& angles) {
    orvix_dialog dialog(owner, QObject::tr("Euler Rotations"), "HLP_EULER", ui);
    dialog.setObjectName(QStringLiteral("euler_rotations_dialog"));
    auto* grid = new QGridLayout;
    const char* labels[3] = {"Alpha:", "Beta:", "Gamma:"};
    const char* names[3] = {"alpha", "beta", "gamma"};
    double* members[3] = {&angles.alpha, &angles.beta, &angles.gamma};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QObject::tr(labels[i]), &dialog), i, 0);
        auto* field = new double_field(&dialog, *members[i]);
        field->setObjectName(QString::fromLatin1(names[i]));
        field->setAlignment(Qt::AlignRight);
        grid->addWidget(field, i, 1);
        grid->addWidget(new QLabel(QObject::tr("deg"), &dialog), i, 2);
    }
    dialog.body()->addLayout(grid);
    return dialog.run();
}

}  // namespace orvix

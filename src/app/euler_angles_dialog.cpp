// The "Euler Angles" dialog: shows the angles of Calculate Euler angles. The action has
// already put them on the clipboard in full precision; the dialog shows them as the single
// precision values they are rounded to, with 6 decimals.
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <vector>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "platform/c_format.h"

namespace orvix {

dialog_result run_euler_angles_dialog(QWidget* owner, services& ui, const euler_angles& angles) {
    orvix_dialog dialog(owner, QObject::tr("Euler Angles"), "HLP_CALCEULER", ui);
    dialog.setObjectName(QStringLiteral("euler_angles_dialog"));
    dialog.body()->addWidget(
        new QLabel(QObject::tr("The Euler angles were determined to be:"), &dialog));
    auto* grid = new QGridLayout;
    const char* labels[3] = {"Alpha:", "Beta:", "Gamma:"};
    const char* names[3] = {"alpha", "beta", "gamma"};
    const double values[3] = {angles.alpha, angles.beta, angles.gamma};
    std::vector<QWidget*> reading_order;
    for (int i = 0; i < 3; ++i) {
        const float shown = static_cast<float>(values[i]);
        auto* value = new QLineEdit(
            QString::fromLatin1(c_format("%.6f", static_cast<double>(shown)).c_str()), &dialog);
        value->setObjectName(QString::fromLatin1(names[i]));
        // Read-only, yet in the Tab order, so that a value can be selected and copied.
        value->setReadOnly(true);
        fit_number_field(value, 14);
        grid->addWidget(field_label(QObject::tr(labels[i]), value, &dialog), i, 0);
        grid->addWidget(value, i, 1);
        grid->addWidget(new QLabel(QObject::tr("deg"), &dialog), i, 2);
        reading_order.push_back(value);
    }
    grid->setColumnStretch(3, 1);
    dialog.body()->addLayout(grid);
    // Nothing to edit: the focus starts on OK.
    dialog.set_reading_order(reading_order, dialog.ok_button());
    return dialog.run();
}

}  // namespace orvix

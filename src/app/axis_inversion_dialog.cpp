// The "Axis Inversion" dialog: a left-handed axis system was found; the user picks the
// axis to invert (Z proposed every time) or cancels the action.
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <vector>

#include "actions/messages.h"
#include "app/dialog_base.h"
#include "app/dialogs.h"

namespace orvix {

dialog_result run_axis_inversion_dialog(QWidget* owner, services& ui, int& axis) {
    orvix_dialog dialog(owner, QObject::tr("Axis Inversion"), "HLP_AXINVERT", ui);
    dialog.setObjectName(QStringLiteral("axis_inversion_dialog"));

    auto* text = new QLabel(QString::fromLatin1(msg::left_handed.data(),
                                                static_cast<qsizetype>(msg::left_handed.size())),
                            &dialog);
    text->setObjectName(QStringLiteral("message"));
    text->setWordWrap(true);
    // Wide enough to read as a paragraph, not as a column of words.
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 56);
    dialog.body()->addWidget(text);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QObject::tr("Axis to invert:"), &dialog));
    auto* group = new QButtonGroup(&dialog);
    std::vector<QWidget*> reading_order;
    const char* labels[3] = {"&X", "&Y", "&Z"};
    const char* names[3] = {"invert_x", "invert_y", "invert_z"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QObject::tr(labels[i]), &dialog);
        button->setObjectName(QString::fromLatin1(names[i]));
        group->addButton(button, i);
        row->addWidget(button);
        reading_order.push_back(button);
    }
    row->addStretch(1);
    dialog.body()->addLayout(row);

    // Z is the proposal whatever was chosen the last time.
    axis = 2;
    group->button(2)->setChecked(true);
    QObject::connect(group, &QButtonGroup::idClicked, &dialog, [&axis](int id) { axis = id; });
    dialog.set_reading_order(reading_order, group->button(2));
    return dialog.run();
}

}  // namespace orvix

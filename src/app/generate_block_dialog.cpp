// The "Generate Block" dialog: the largest multiple n of a cell edge by which the atoms are
// translated.
#include <QHBoxLayout>
#include <QLabel>

#include "app/dialog_base.h"
#include "app/dialogs.h"

namespace orvix {

dialog_result run_generate_block_dialog(QWidget* owner, services& ui, block_record& block) {
    orvix_dialog dialog(owner, QObject::tr("Generate Block"), "HLP_GENAUTO", ui);
    dialog.setObjectName(QStringLiteral("generate_block_dialog"));
    auto* text =
        new QLabel(QObject::tr("This option generates crystallographic positions automatically by "
                               "translating the input coordinates by multiples n of the unit cell "
                               "constants."),
                   &dialog);
    text->setObjectName(QStringLiteral("block_text"));
    text->setWordWrap(true);
    // Wide enough to read as a paragraph, not as a column of words.
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 56);
    dialog.body()->addWidget(text);

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QObject::tr("n:"), &dialog);
    auto* field = new long_field(&dialog, block.n);
    field->setObjectName(QStringLiteral("block_n"));
    label->setBuddy(field);
    row->addWidget(label);
    row->addWidget(field);
    row->addStretch(1);
    dialog.body()->addLayout(row);
    dialog.set_reading_order({field});
    return dialog.run();
}

}  // namespace orvix

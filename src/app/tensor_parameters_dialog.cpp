// The "Tensor Parameters" dialog: the kind of tensor, a reference shielding (shielding only;
// an empty field means none) and the quadrupolar nucleus (EFG only). OK stays disabled while
// the reference is not a usable number or an EFG has no nucleus, so the action never sees a
// record it would refuse. Edits reach the record as they are made.
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "dipolar/nuclei.h"
#include "tensor/tensor_parameters.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {

namespace {

// The reference field's text: empty (no reference) or a usable number.
bool read_reference(const QString& text, tensor_parameters_record& record) {
    if (text.trimmed().isEmpty()) {
        record.has_reference = false;
        return true;
    }
    double value = 0;
    if (!parse_field_double(text, value) || !reference_is_usable(value)) return false;
    record.has_reference = true;
    record.reference = value;
    return true;
}

void mark(QWidget* field, bool valid, const QString& problem) {
    field->setStyleSheet(valid ? QString()
                               : QStringLiteral("%1 { background: #ffd6d6; }")
                                     .arg(QString::fromLatin1(field->metaObject()->className())));
    field->setToolTip(valid ? QString() : problem);
}

}  // namespace

dialog_result run_tensor_parameters_dialog(QWidget* owner, services& ui,
                                           tensor_parameters_record& record) {
    orvix_dialog dialog(owner, QObject::tr("Tensor Parameters"), "HLP_TENSORPARAMS", ui);
    dialog.setObjectName(QStringLiteral("tensor_parameters_dialog"));

    auto* kind_box = new QGroupBox(QObject::tr("Kind of tensor:"), &dialog);
    auto* kind_layout = new QVBoxLayout(kind_box);
    auto* kinds = new QButtonGroup(&dialog);
    const struct {
        const char* name;
        const char* text;
    } kind_rows[] = {{"shielding", "&Shielding (ppm)"},
                     {"shift", "Chemical shi&ft (ppm)"},
                     {"efg", "&EFG (atomic units)"}};
    std::vector<QRadioButton*> radios;
    for (int k = 0; k < 3; ++k) {
        auto* radio = new QRadioButton(QObject::tr(kind_rows[k].text), kind_box);
        radio->setObjectName(QString::fromLatin1(kind_rows[k].name));
        kinds->addButton(radio, k);
        kind_layout->addWidget(radio);
        radios.push_back(radio);
    }
    if (record.kind < 0 || record.kind > 2) record.kind = 0;
    radios[static_cast<std::size_t>(record.kind)]->setChecked(true);
    dialog.body()->addWidget(kind_box);

    auto* grid = new QGridLayout;
    auto* reference = new QLineEdit(&dialog);
    reference->setObjectName(QStringLiteral("reference"));
    fit_number_field(reference, 14);
    if (record.has_reference) reference->setText(format_field_double(record.reference));
    grid->addWidget(field_label(QObject::tr("&Reference shielding:"), reference, &dialog), 0, 0);
    grid->addWidget(reference, 0, 1);
    grid->addWidget(new QLabel(QObject::tr("ppm (empty: none)"), &dialog), 0, 2);

    const std::vector<int> positions = quadrupolar_nucleus_positions();
    auto* nucleus = new QComboBox(&dialog);
    nucleus->setObjectName(QStringLiteral("nucleus"));
    nucleus->setPlaceholderText(QObject::tr("(choose)"));
    nucleus->setMaxVisibleItems(20);
    const auto table = nuclei_table();
    int selected = -1;
    for (int position : positions) {
        const std::string_view label = table[static_cast<std::size_t>(position)].label;
        if (position == record.nucleus) selected = nucleus->count();
        nucleus->addItem(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())));
    }
    // (The first item added would otherwise be selected: no nucleus shows the placeholder.)
    nucleus->setCurrentIndex(selected);
    if (selected < 0) record.nucleus = -1;
    nucleus->setFixedWidth(reference->maximumWidth());
    grid->addWidget(field_label(QObject::tr("&Nucleus:"), nucleus, &dialog), 1, 0);
    grid->addWidget(nucleus, 1, 1);
    grid->addWidget(new QLabel(QObject::tr("quadrupolar, for EFG tensors"), &dialog), 1, 2);
    grid->setColumnStretch(3, 1);
    dialog.body()->addLayout(grid);

    // Which fields count follows the kind; a field that does not count never holds OK back.
    const auto update = [&dialog, &record, reference, nucleus] {
        const bool shielding = record.kind == 0;
        const bool efg = record.kind == 2;
        reference->setEnabled(shielding);
        nucleus->setEnabled(efg);
        const bool reference_valid = !shielding || read_reference(reference->text(), record);
        mark(reference, reference_valid, QObject::tr("Empty, or a number below 1000000"));
        dialog.set_field_valid(reference, reference_valid);
        const bool nucleus_valid = !efg || nucleus->currentIndex() >= 0;
        dialog.set_field_valid(nucleus, nucleus_valid);
    };
    QObject::connect(kinds, &QButtonGroup::idClicked, &dialog, [&record, update](int id) {
        record.kind = id;
        update();
    });
    QObject::connect(reference, &QLineEdit::textEdited, &dialog, [update] { update(); });
    QObject::connect(nucleus, &QComboBox::currentIndexChanged, &dialog,
                     [&record, &positions, update](int index) {
                         record.nucleus =
                             index >= 0 ? positions[static_cast<std::size_t>(index)] : -1;
                         update();
                     });
    update();

    dialog.set_reading_order({radios[0], radios[1], radios[2], reference, nucleus});
    return dialog.run();
}

}  // namespace orvix

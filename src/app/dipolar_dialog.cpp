// The "Dipolar Second Moment" dialog: the two nuclei, the natural abundance, powder or
// single crystal, the rotation axis and angles, the sense of rotation and the cut-off. It
// edits the run's dipolar parameter record in place: every edit reaches the record as it is
// made, so the next opening shows it again, also after Cancel.
#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <initializer_list>

#include "app/dialog_base.h"
#include "app/dialogs.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"

namespace orvix {

namespace {

// A drop-down list of the nuclei that also finds an entry by typing its label ("27Al", in
// any letter case) or a part of it through the completer. Text that names no nucleus marks
// the list and keeps OK disabled until it is corrected or the list loses the focus (which
// shows the selected nucleus again), so the record never holds a nucleus the user cannot see.
// Return and Enter leave the text as it is: they go on to the dialog, which finds OK disabled.
class nucleus_list : public QComboBox {
  public:
    nucleus_list(orvix_dialog* dialog, const QStringList& labels, int position,
                 std::function<void(int)> on_selected)
        : QComboBox(dialog), dialog_(dialog), on_selected_(std::move(on_selected)) {
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        addItems(labels);
        setMaxVisibleItems(20);
        auto* finder = new QCompleter(labels, this);
        finder->setCaseSensitivity(Qt::CaseInsensitive);
        finder->setFilterMode(Qt::MatchContains);
        finder->setCompletionMode(QCompleter::PopupCompletion);
        setCompleter(finder);
        if (position >= 0 && position < count()) setCurrentIndex(position);
        // Connected after the first selection: showing the record's value is no selection.
        connect(this, &QComboBox::activated, this, [this](int index) {
            mark_valid(true);
            if (index >= 0) on_selected_(index);
        });
        connect(lineEdit(), &QLineEdit::textEdited, this, &nucleus_list::on_typed);
    }

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        QComboBox::focusOutEvent(event);
        // A pop-up (the list or the completer's matches) belongs to the list.
        if (event->reason() == Qt::PopupFocusReason) return;
        if (findText(lineEdit()->text().trimmed(), Qt::MatchFixedString) < 0) {
            lineEdit()->setText(itemText(currentIndex()));
            mark_valid(true);
        }
    }

  private:
    void on_typed(const QString& text) {
        const int index = findText(text.trimmed(), Qt::MatchFixedString);
        mark_valid(index >= 0);
        if (index < 0 || index == currentIndex()) return;
        setCurrentIndex(index);
        on_selected_(index);
    }

    void mark_valid(bool valid) {
        setStyleSheet(valid ? QString() : QStringLiteral("QComboBox { background: #ffd6d6; }"));
        setToolTip(valid ? QString() : tr("No such nucleus"));
        dialog_->set_field_valid(this, valid);
    }

    orvix_dialog* dialog_;
    std::function<void(int)> on_selected_;
};

// A group box whose title mnemonic moves the focus to the first control of the group. (Qt's
// own would prefer a checked radio button anywhere in the group, which for the rotation axis
// is the sense of rotation at its foot.)
class group_box : public QGroupBox {
  public:
    group_box(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}
    void set_first_control(QWidget* control) { first_ = control; }

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Shortcut && first_ != nullptr) {
            first_->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        return QGroupBox::event(event);
    }

  private:
    QWidget* first_ = nullptr;
};

// A radio pair bound to a 0/1 record member: a click stores the button's index.
void bind_radio_pair(QWidget* parent, QRadioButton* first, QRadioButton* second,
                     std::int32_t& member) {
    auto* group = new QButtonGroup(parent);
    group->addButton(first, 0);
    group->addButton(second, 1);
    (member == 0 ? first : second)->setChecked(true);
    QObject::connect(group, &QButtonGroup::idClicked, parent, [&member](int id) { member = id; });
}

// One row of a number field: label with its mnemonic, the field, and its unit.
double_field* add_number_row(orvix_dialog* dialog, QGridLayout* grid, int row, const QString& text,
                             const char* name, double& member, const QString& unit) {
    auto* field = new double_field(dialog, member);
    field->setObjectName(QString::fromLatin1(name));
    grid->addWidget(field_label(text, field, dialog), row, 0);
    grid->addWidget(field, row, 1);
    if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, dialog), row, 2);
    return field;
}

// The widest text of the labels in the first column of `grids`, so that every field of the
// dialog can start at the same distance from the edge of its group.
int widest_label(std::initializer_list<QGridLayout*> grids) {
    int widest = 0;
    for (QGridLayout* grid : grids)
        for (int row = 0; row < grid->rowCount(); ++row)
            if (QLayoutItem* item = grid->itemAtPosition(row, 0))
                if (QWidget* label = item->widget())
                    widest = std::max(widest, label->sizeHint().width());
    return widest;
}

}  // namespace

dialog_result run_dipolar_dialog(QWidget* owner, services& ui, dipolar_parameters& record) {
    orvix_dialog dialog(owner, QObject::tr("Dipolar Second Moment"), "HLP_DIPMOM", ui);
    dialog.setObjectName(QStringLiteral("dipolar_dialog"));

    QStringList labels;
    for (const std::string& label : nucleus_list_labels())
        labels << QString::fromLatin1(label.c_str());

    // Define Dipolar Interaction.
    auto* interaction = new group_box(QObject::tr("Define &Dipolar Interaction:"), &dialog);
    auto* interaction_grid = new QGridLayout(interaction);
    double_field* abundance = nullptr;
    auto* observed =
        new nucleus_list(&dialog, labels, record.observed_nucleus,
                         [&record](int index) { select_observed_nucleus(record, index); });
    observed->setObjectName(QStringLiteral("observed_nucleus"));
    auto* coupled =
        new nucleus_list(&dialog, labels, record.coupled_nucleus, [&record, &abundance](int index) {
            select_coupled_nucleus(record, index);
            abundance->show_value(record.abundance);
        });
    coupled->setObjectName(QStringLiteral("coupled_nucleus"));
    interaction->set_first_control(observed);
    interaction_grid->addWidget(
        field_label(QObject::tr("&Observed nucleus:"), observed, interaction), 0, 0);
    interaction_grid->addWidget(observed, 0, 1);
    interaction_grid->addWidget(field_label(QObject::tr("&Coupled nucleus:"), coupled, interaction),
                                1, 0);
    interaction_grid->addWidget(coupled, 1, 1);
    abundance = new double_field(&dialog, record.abundance);
    abundance->setObjectName(QStringLiteral("abundance"));
    interaction_grid->addWidget(
        field_label(QObject::tr("&Natural abundance:"), abundance, interaction), 2, 0);
    interaction_grid->addWidget(abundance, 2, 1);
    // The lists as wide as the number fields below them.
    observed->setFixedWidth(abundance->maximumWidth());
    coupled->setFixedWidth(abundance->maximumWidth());
    interaction_grid->setColumnStretch(3, 1);
    dialog.body()->addWidget(interaction);

    // Type of Moment Calculation.
    auto* type = new QGroupBox(QObject::tr("Type of Moment Calculation:"), &dialog);
    auto* type_layout = new QVBoxLayout(type);
    auto* powder = new QRadioButton(QObject::tr("&powder"), type);
    powder->setObjectName(QStringLiteral("powder"));
    auto* single_crystal = new QRadioButton(
        QObject::tr("&single crystal (define rotation axis in next section)"), type);
    single_crystal->setObjectName(QStringLiteral("single_crystal"));
    type_layout->addWidget(powder);
    type_layout->addWidget(single_crystal);
    bind_radio_pair(&dialog, powder, single_crystal, record.moment_type);
    dialog.body()->addWidget(type);

    // Define Orientation of Rotation Axis: used by the single-crystal pattern only, but never
    // disabled, so the values can be prepared while the powder is chosen.
    auto* axis = new group_box(QObject::tr("Define Orientation of &Rotation Axis:"), &dialog);
    auto* axis_grid = new QGridLayout(axis);
    const QString deg = QObject::tr("deg");
    double_field* alpha =
        add_number_row(&dialog, axis_grid, 0, QObject::tr("&Alpha:"), "alpha", record.alpha, deg);
    axis->set_first_control(alpha);
    double_field* beta =
        add_number_row(&dialog, axis_grid, 1, QObject::tr("&Beta:"), "beta", record.beta, deg);
    double_field* gamma_start =
        add_number_row(&dialog, axis_grid, 2, QObject::tr("Gamma (&start):"), "gamma_start",
                       record.gamma_start, deg);
    double_field* gamma_increment =
        add_number_row(&dialog, axis_grid, 3, QObject::tr("Gamma (&incr.):"), "gamma_increment",
                       record.gamma_increment, deg);
    double_field* gamma_end = add_number_row(&dialog, axis_grid, 4, QObject::tr("Gamma (&end):"),
                                             "gamma_end", record.gamma_end, deg);
    double_field* phase = add_number_row(&dialog, axis_grid, 5, QObject::tr("&Phase angle:"),
                                         "phase", record.phase, deg);
    auto* clockwise = new QRadioButton(QObject::tr("clockwise (single-crystal NMR)"), axis);
    clockwise->setObjectName(QStringLiteral("clockwise"));
    auto* anticlockwise = new QRadioButton(QObject::tr("anticlockwise"), axis);
    anticlockwise->setObjectName(QStringLiteral("anticlockwise"));
    bind_radio_pair(&dialog, clockwise, anticlockwise, record.rotation_sense);
    auto* sense = new QHBoxLayout;
    sense->addWidget(clockwise);
    sense->addWidget(anticlockwise);
    sense->addStretch(1);
    // The mnemonic of the sense label moves to the checked button of the pair.
    auto* sense_label = new QLabel(QObject::tr("&Sense of rotation:"), axis);
    sense_label->setBuddy(record.rotation_sense == 0 ? clockwise : anticlockwise);
    QObject::connect(clockwise, &QRadioButton::toggled, sense_label,
                     [sense_label, clockwise, anticlockwise](bool on) {
                         sense_label->setBuddy(on ? clockwise : anticlockwise);
                     });
    axis_grid->addWidget(sense_label, 6, 0);
    axis_grid->addLayout(sense, 6, 1, 1, 3);
    axis_grid->setColumnStretch(3, 1);
    dialog.body()->addWidget(axis);

    // Cut-off distance, outside the groups.
    auto* cutoff_grid = new QGridLayout;
    double_field* cutoff =
        add_number_row(&dialog, cutoff_grid, 0, QObject::tr("Cut-off &distance:"), "cutoff",
                       record.cutoff, QObject::tr("A"));
    cutoff_grid->setColumnStretch(3, 1);
    dialog.body()->addLayout(cutoff_grid);

    // The fields of both groups in one column, and the cut-off field below them: its label
    // column takes up the groups' frame and margin as well.
    const int label_width = widest_label({interaction_grid, axis_grid, cutoff_grid});
    interaction_grid->setColumnMinimumWidth(0, label_width);
    axis_grid->setColumnMinimumWidth(0, label_width);
    // (Layouts of hidden widgets are settled here by hand, that of the dialog first.)
    dialog.ensurePolished();
    dialog.layout()->activate();
    axis_grid->activate();
    const int inset = alpha->mapTo(&dialog, QPoint()).x() - cutoff->mapTo(&dialog, QPoint()).x();
    if (inset > 0) {
        cutoff_grid->setColumnMinimumWidth(0, cutoff_grid->cellRect(0, 0).width() + inset);
        dialog.layout()->activate();
    }

    // Reading order for the Tab key, the buttons last; the observed nucleus has the focus.
    dialog.set_reading_order(
        {observed, coupled, abundance, powder, single_crystal, alpha, beta, gamma_start,
         gamma_increment, gamma_end, phase, clockwise, anticlockwise, cutoff},
        observed);

    // The action fetches the properties of the selected nuclei once the dialog has closed.
    return dialog.run();
}

}  // namespace orvix

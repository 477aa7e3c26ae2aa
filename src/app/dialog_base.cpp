// The dialog convention and the bound number fields.
#include "app/dialog_base.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QStyle>
#include <QStyleOptionFrame>
#include <charconv>
#include <limits>

#include "platform/c_format.h"
#include "platform/scan.h"

namespace orvix {

orvix_dialog::orvix_dialog(QWidget* owner, const QString& title, std::string help_topic,
                           services& ui)
    : QDialog(owner) {
    setWindowTitle(title);
    // Modal to the main window only: the help window that Help opens stays usable.
    setWindowModality(Qt::WindowModal);
    setObjectName(QStringLiteral("orvix_dialog"));
    auto* outer = new QVBoxLayout(this);
    // As large as the controls need and no larger: stretching would only pull the labels
    // away from their fields.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    body_ = new QVBoxLayout;
    outer->addLayout(body_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("&OK"), this);
    cancel_ =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("&Cancel"), this);
    help_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), tr("&Help"), this);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    cancel_->setAutoDefault(false);
    help_->setAutoDefault(false);
    ok_->setObjectName(QStringLiteral("ok"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    help_->setObjectName(QStringLiteral("help"));
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    outer->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_, &QPushButton::clicked, this,
            [&ui, topic = std::move(help_topic)] { ui.show_help(topic); });
}

void orvix_dialog::set_reading_order(const std::vector<QWidget*>& controls, QWidget* focus) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) setTabOrder(previous, control);
        previous = control;
    }
    for (QWidget* button : {static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_),
                            static_cast<QWidget*>(help_)}) {
        if (previous != nullptr) setTabOrder(previous, button);
        previous = button;
    }
    first_focus_ = focus != nullptr ? focus : controls.empty() ? ok_ : controls.front();
}

dialog_result orvix_dialog::run() {
    // The Tab key stops at one button of each group of radio buttons, the checked one; the
    // arrow keys move within the group. (Once a button has had the focus, Qt keeps the Tab
    // stop on the button last focused.)
    for (QButtonGroup* group : findChildren<QButtonGroup*>()) {
        QAbstractButton* checked = group->checkedButton();
        if (!group->exclusive() || checked == nullptr) continue;
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button == checked ? Qt::StrongFocus : Qt::ClickFocus);
    }
    // Focus on a group of radio buttons goes to its checked one.
    if (auto* button = qobject_cast<QAbstractButton*>(first_focus_))
        if (button->group() != nullptr && button->group()->exclusive() &&
            button->group()->checkedButton() != nullptr)
            first_focus_ = button->group()->checkedButton();
    if (first_focus_ != nullptr) {
        first_focus_->setFocus(Qt::TabFocusReason);
        if (auto* field = qobject_cast<QLineEdit*>(first_focus_)) field->selectAll();
    }
    return exec() == QDialog::Accepted ? dialog_result::ok : dialog_result::cancel;
}

void orvix_dialog::set_field_valid(QObject* field, bool valid) {
    if (valid)
        invalid_fields_.erase(field);
    else
        invalid_fields_.insert(field);
    ok_->setEnabled(invalid_fields_.empty());
}

namespace {

std::string trimmed_latin1(const QString& text) {
    return text.trimmed().toLatin1().toStdString();
}

void mark(QLineEdit* field, bool valid) {
    field->setStyleSheet(valid ? QString() : QStringLiteral("QLineEdit { background: #ffd6d6; }"));
    field->setToolTip(valid ? QString() : QObject::tr("Not a number"));
}

}  // namespace

QLabel* field_label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void fit_number_field(QLineEdit* field, int characters) {
    // The width QLineEdit itself would ask for, for this many digits instead of its default
    // (which adds a margin of 2 pixels on either side of the text).
    const QFontMetrics metrics = field->fontMetrics();
    const QMargins margins = field->textMargins();
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const int text_margins = margins.left() + margins.right() + 2 * 2;
    const QSize text(metrics.horizontalAdvance(QLatin1Char('0')) * characters + text_margins,
                     field->sizeHint().height());
    const QSize size = field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field);
    field->setFixedWidth(size.width());
    field->setAlignment(Qt::AlignRight);
}

bool parse_field_double(const QString& text, double& value) {
    const std::string bytes = trimmed_latin1(text);
    std::string_view rest(bytes);
    double parsed = 0;
    if (!scan_double(rest, parsed) || !rest.empty()) return false;
    value = parsed;
    return true;
}

bool parse_field_long(const QString& text, std::int32_t& value) {
    const std::string bytes = trimmed_latin1(text);
    const char* first = bytes.data();
    const char* last = bytes.data() + bytes.size();
    if (first != last && *first == '+') ++first;
    std::int32_t parsed = 0;
    auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || first == last) return false;
    value = parsed;
    return true;
}

QString format_field_double(double value) {
    return QString::fromLatin1(c_format("%.6f", value).c_str());
}

double_field::double_field(orvix_dialog* dialog, double& member)
    : QLineEdit(dialog), dialog_(dialog), member_(member) {
    fit_number_field(this, 14);  // -100000.000000
    show_value(member_);
    connect(this, &QLineEdit::textEdited, this, &double_field::on_edited);
}

void double_field::show_value(double value) {
    member_ = value;
    setText(format_field_double(value));
    mark(this, true);
    dialog_->set_field_valid(this, true);
}

void double_field::on_edited(const QString& text) {
    double value = 0;
    const bool valid = parse_field_double(text, value);
    if (valid) member_ = value;
    mark(this, valid);
    dialog_->set_field_valid(this, valid);
}

long_field::long_field(orvix_dialog* dialog, std::int32_t& member)
    : QLineEdit(dialog), dialog_(dialog), member_(member) {
    fit_number_field(this, 8);  // wider numbers scroll
    show_value(member_);
    connect(this, &QLineEdit::textEdited, this, &long_field::on_edited);
}

void long_field::show_value(std::int32_t value) {
    member_ = value;
    setText(QString::number(value));
    mark(this, true);
    dialog_->set_field_valid(this, true);
}

void long_field::on_edited(const QString& text) {
    std::int32_t value = 0;
    const bool valid = parse_field_long(text, value);
    if (valid) member_ = value;
    mark(this, valid);
    dialog_->set_field_valid(this, valid);
}

}  // namespace orvix

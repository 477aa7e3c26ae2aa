// The dialog convention and the bound number fields.
#include "platform/qt/dialog_base.h"

#include <QHBoxLayout>
#include <QStyle>
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

dialog_result orvix_dialog::run() {
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

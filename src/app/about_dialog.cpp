// The About box.
#include "app/about_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>

#include "app/emblem.h"

namespace orvix {

namespace {

QLabel* text_label(QWidget* parent, const std::string& text, const char* name) {
    auto* label = new QLabel(QString::fromUtf8(text.c_str()), parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFrame* rule(QWidget* parent, QFrame::Shape shape) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

about_record desktop_about_record() {
    about_record record = make_about_record();
    record.platform = "Qt " + std::string(qVersion()) + " on " +
                      QSysInfo::prettyProductName().toStdString() + " (" +
                      QSysInfo::currentCpuArchitecture().toStdString() + ")";
    return record;
}

about_dialog::about_dialog(QWidget* owner, const about_record& record) : QDialog(owner) {
    setObjectName(QStringLiteral("about_dialog"));
    setWindowTitle(tr("About Orvix"));
    setModal(true);

    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    outer->addLayout(left, 1);
    outer->addWidget(rule(this, QFrame::VLine));
    auto* right = new QVBoxLayout;
    outer->addLayout(right);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("about_picture"));
    picture->setPixmap(emblem_pixmap(112));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setFixedSize(picture->sizeHint());
    left->addWidget(picture, 0, Qt::AlignLeft | Qt::AlignTop);

    QLabel* program = text_label(this, record.program, "about_program");
    QFont big = program->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    program->setFont(big);
    left->addWidget(program);
    left->addWidget(text_label(this, record.description, "about_description"));

    auto* version_row = new QHBoxLayout;
    version_row->addWidget(new QLabel(tr("Version:"), this));
    version_row->addWidget(text_label(this, record.version, "about_version"));
    version_row->addWidget(text_label(this, record.build_date, "about_build_date"));
    version_row->addStretch(1);
    left->addLayout(version_row);
    left->addWidget(rule(this, QFrame::HLine));
    left->addWidget(text_label(this, record.platform, "about_platform"));

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel(tr("Free memory:"), this), 0, 0);
    figures->addWidget(text_label(this, record.free_memory, "about_free_memory"), 0, 1);
    figures->addWidget(new QLabel(tr("Free resources:"), this), 1, 0);
    figures->addWidget(text_label(this, record.free_resources, "about_free_resources"), 1, 1);
    figures->setColumnStretch(1, 1);
    left->addLayout(figures);

    auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    right->addStretch(1);
    right->addWidget(ok);
}

void show_about_box(QWidget* owner) {
    about_dialog box(owner, desktop_about_record());
    box.exec();
}

}  // namespace orvix

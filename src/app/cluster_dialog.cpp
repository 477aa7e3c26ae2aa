// The "Cluster around an Atom" dialog: the atom at the centre, chosen from the labels of the
// crystal data, and the radius in Angstrom.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "app/dialog_base.h"
#include "app/dialogs.h"

namespace orvix {

dialog_result run_cluster_dialog(QWidget* owner, services& ui, cluster_record& record) {
    orvix_dialog dialog(owner, QObject::tr("Cluster around an Atom"), "HLP_CLUSTER", ui);
    dialog.setObjectName(QStringLiteral("cluster_dialog"));
    auto* text = new QLabel(QObject::tr("Writes the first atom with the chosen label and every "
                                        "atom of the periodic crystal within the radius of it, "
                                        "nearest first, in Cartesian coordinates."),
                            &dialog);
    text->setObjectName(QStringLiteral("cluster_text"));
    text->setWordWrap(true);
    // Wide enough to read as a paragraph, not as a column of words.
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 56);
    dialog.body()->addWidget(text);

    // A list to choose from, never to type into: only labels of the data make a cluster.
    auto* site = new QComboBox(&dialog);
    site->setObjectName(QStringLiteral("cluster_site"));
    int current = 0;
    for (std::size_t i = 0; i < record.labels.size(); ++i) {
        const std::string& label = record.labels[i];
        site->addItem(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())));
        if (label == record.site) current = static_cast<int>(i);
    }
    site->setCurrentIndex(current);
    if (!record.labels.empty()) record.site = record.labels[static_cast<std::size_t>(current)];
    QObject::connect(site, &QComboBox::currentIndexChanged, &dialog, [&record](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < record.labels.size())
            record.site = record.labels[static_cast<std::size_t>(index)];
    });
    auto* radius = new double_field(&dialog, record.radius);
    radius->setObjectName(QStringLiteral("cluster_radius"));

    auto* grid = new QGridLayout;
    grid->addWidget(field_label(QObject::tr("&Site:"), site, &dialog), 0, 0);
    grid->addWidget(site, 0, 1);
    grid->addWidget(field_label(QObject::tr("&Radius:"), radius, &dialog), 1, 0);
    grid->addWidget(radius, 1, 1);
    grid->addWidget(new QLabel(QObject::tr("A"), &dialog), 1, 2);
    grid->setColumnStretch(3, 1);
    dialog.body()->addLayout(grid);
    dialog.set_reading_order({site, radius});
    return dialog.run();
}

}  // namespace orvix

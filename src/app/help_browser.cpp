// The help window.
#include "app/help_browser.h"

#include <QAction>
#include <QFile>
#include <QStyle>
#include <QToolBar>

#include "app/emblem.h"

namespace orvix {

QString help_page_name(std::string_view topic) {
    return QString::fromLatin1(topic.data(), static_cast<qsizetype>(topic.size())).toLower() +
           QStringLiteral(".html");
}

QUrl help_page_url(const QString& page) {
    return QUrl(QStringLiteral("qrc:/help/") + page);
}

help_browser::help_browser(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("help_browser"));
    setWindowIcon(application_icon());
    setAttribute(Qt::WA_QuitOnClose, false);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("help_text"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    setCentralWidget(browser_);

    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("help_navigation"));
    bar->setMovable(false);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"));
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"));
    QAction* contents =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("&Contents"));
    back->setObjectName(QStringLiteral("help_back"));
    forward->setObjectName(QStringLiteral("help_forward"));
    contents->setObjectName(QStringLiteral("help_contents"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this, [this] { show_topic("HLP_CONTENTS"); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &help_browser::update_title);
    resize(760, 620);
}

void help_browser::show_topic(std::string_view topic) {
    const QString page = help_page_name(topic);
    if (QFile::exists(QStringLiteral(":/help/") + page)) {
        browser_->setSource(help_page_url(page));
    } else {
        browser_->setSource(help_page_url(QStringLiteral("hlp_contents.html")));
        browser_->insertHtml(
            QStringLiteral("<p><i>There is no help page for the topic %1; "
                           "here are the contents.</i></p>")
                .arg(QString::fromLatin1(topic.data(), static_cast<qsizetype>(topic.size()))
                         .toHtmlEscaped()));
    }
    update_title();
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void help_browser::update_title() {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Orvix Help") : tr("Orvix Help - %1").arg(title));
}

}  // namespace orvix

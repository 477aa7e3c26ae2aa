// Help pages and topics, the About box and what it reports of the machine, the emblem.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <set>

#include "app/about_dialog.h"
#include "app/emblem.h"
#include "app/main_window.h"
#include "modal_script.h"

namespace orvix {
namespace {

TEST(HelpTopics, TopicNamesPages) {
    struct case_t {
        const char* topic;
        const char* page;
    } cases[] = {
        {"HLP_CONTENTS", "hlp_contents.html"}, {"HLP_DIPMOM", "hlp_dipmom.html"},
        {"HLP_AXINVERT", "hlp_axinvert.html"}, {"HLP_CALCEULER", "hlp_calceuler.html"},
        {"HLP_EULER", "hlp_euler.html"},       {"HLP_AXISORDER", "hlp_axisorder.html"},
        {"HLP_SYMMOP", "hlp_symmop.html"},     {"HLP_GENAUTO", "hlp_genauto.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic);
        EXPECT_EQ(help_page_name(c.topic).toStdString(), c.page);
    }
}

std::set<std::string> compiled_pages() {
    std::set<std::string> pages;
    QDirIterator it(QStringLiteral(":/help"));
    while (it.hasNext()) pages.insert(QFileInfo(it.next()).fileName().toStdString());
    return pages;
}

TEST(HelpPages, OwnPagesAreCompiledIn) {
    const auto pages = compiled_pages();
    for (const char* page :
         {"hlp_contents.html", "crystal_format.html", "documents.html", "cli.html"}) {
        SCOPED_TRACE(page);
        EXPECT_EQ(pages.count(page), 1u);
    }
}

// Every page's links: each one to another page must reach a page that is compiled in, but
// for the pages still being written elsewhere, which the contents may name ahead of time.
TEST(HelpPages, LinksReachCompiledPages) {
    const std::set<std::string> written_elsewhere = {
        "tensor.html",       "hlp_dipmom.html",       "hlp_axinvert.html",  "hlp_calceuler.html",
        "hlp_euler.html",    "euler_convention.html", "hlp_axisorder.html", "orthogonalize.html",
        "normal_polar.html", "hlp_symmop.html",       "hlp_genauto.html"};
    const auto pages = compiled_pages();
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
    for (const std::string& page : pages) {
        if (page.size() < 5 || page.substr(page.size() - 5) != ".html") continue;
        SCOPED_TRACE(page);
        QFile file(QStringLiteral(":/help/") + QString::fromStdString(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << "a page has a title";
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const std::string target = m.next().captured(1).toStdString();
            if (written_elsewhere.count(target) != 0) continue;
            EXPECT_EQ(pages.count(target), 1u) << target;
        }
    }
}

TEST(HelpPages, ContentsLinksEveryPage) {
    QFile file(QStringLiteral(":/help/hlp_contents.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString contents = QString::fromUtf8(file.readAll());
    for (const std::string& page : compiled_pages()) {
        if (page == "hlp_contents.html" || page.substr(page.size() - 5) != ".html") continue;
        SCOPED_TRACE(page);
        EXPECT_TRUE(
            contents.contains(QStringLiteral("href=\"%1").arg(QString::fromStdString(page))));
    }
}

TEST(HelpBrowser, ShowsTopicsAndNavigates) {
    help_browser help;
    help.show_topic("HLP_CONTENTS");
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.browser()->source().toString().toStdString(), "qrc:/help/hlp_contents.html");
    EXPECT_TRUE(help.windowTitle().startsWith(QStringLiteral("Orvix Help")));
    EXPECT_FALSE(help.browser()->toPlainText().isEmpty());

    // Following a link: the page's relative address resolved against the current one.
    help.browser()->setSource(
        help.browser()->source().resolved(QUrl(QStringLiteral("crystal_format.html"))));
    EXPECT_EQ(help.browser()->source().toString().toStdString(), "qrc:/help/crystal_format.html");
    EXPECT_TRUE(help.browser()->isBackwardAvailable());
    help.browser()->backward();
    EXPECT_EQ(help.browser()->source().toString().toStdString(), "qrc:/help/hlp_contents.html");

    help.show_topic("HLP_NO_SUCH_TOPIC");
    EXPECT_EQ(help.browser()->source().toString().toStdString(), "qrc:/help/hlp_contents.html");
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("HLP_NO_SUCH_TOPIC")));
}

TEST(SystemInfo, AvailableMemoryFromMeminfo) {
    struct case_t {
        const char* name;
        std::string text;
        std::optional<std::uint64_t> bytes;
    } cases[] = {
        {"usual", "MemTotal:       16000000 kB\nMemFree:  100 kB\nMemAvailable:    2048 kB\n",
         2048ull * 1024},
        {"last line without end", "MemAvailable: 1 kB", 1024},
        {"missing", "MemTotal: 5 kB\n", std::nullopt},
        {"not a number", "MemAvailable: lots kB\n", std::nullopt},
        {"unknown unit", "MemAvailable: 5 MB\n", std::nullopt},
        {"prefix of another key does not count", "MemAvailableX: 5 kB\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parse_available_memory(c.text), c.bytes);
    }
}

TEST(SystemInfo, Texts) {
    EXPECT_EQ(memory_text(std::nullopt), "n/a");
    EXPECT_EQ(memory_text(3ull * 1024 * 1024 + 5), "3 MB");
    EXPECT_EQ(handles_text(std::nullopt), "n/a");
    EXPECT_EQ(handles_text(handle_count{1019, 1024}), "1019 of 1024 file handles");
    const auto handles = free_file_handles();
    ASSERT_TRUE(handles);
    EXPECT_GT(handles->free, 0u);
    EXPECT_LE(handles->free, handles->total);
    // A file held open takes one handle. Qt's own threads may open a handle of their own
    // meanwhile, so a few tries are allowed.
    test::scratch_dir dir;
    test::write_file(dir.file("h"), "x");
    bool one_less = false;
    for (int attempt = 0; attempt < 5 && !one_less; ++attempt) {
        const auto before = free_file_handles();
        auto held = exclusive_file::open_existing(dir.file("h"), exclusive_file::access::read);
        ASSERT_TRUE(held);
        const auto after = free_file_handles();
        one_less = before && after && after->free + 1 == before->free;
    }
    EXPECT_TRUE(one_less);
}

TEST(AboutBox, ShowsTheRecord) {
    main_window window;
    about_record record = desktop_about_record();
    record.free_memory = "123 MB";
    about_dialog box(&window, record);
    EXPECT_EQ(box.windowTitle().toStdString(), "About Orvix");
    EXPECT_EQ(box.parentWidget(), &window);
    struct case_t {
        const char* control;
        std::string text;
    } cases[] = {
        {"about_program", "Orvix"},
        {"about_version", ORVIX_TEST_VERSION},
        {"about_build_date", "May 19 2021"},
        {"about_free_memory", "123 MB"},
        {"about_free_resources", record.free_resources},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        auto* label = box.findChild<QLabel*>(QString::fromLatin1(c.control));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text().toStdString(), c.text);
    }
    auto* picture = box.findChild<QLabel*>(QStringLiteral("about_picture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    EXPECT_TRUE(record.platform.find("Qt ") == 0);
}

TEST(AboutBox, OpensFromTheMenuAndClosesWithOk) {
    main_window window;
    window.show();
    test::modal_script script;
    script.then([](QWidget* modal) {
        EXPECT_EQ(modal->objectName().toStdString(), "about_dialog");
        auto* ok = modal->findChild<QPushButton*>(QStringLiteral("ok"));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text().toStdString(), "&OK");
        ok->click();
    });
    window.dispatch_command(cmd::help_about);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(script.unexpected().empty());
}

TEST(Emblem, DrawsAtEverySize) {
    for (int size : {16, 32, 112, 256}) {
        SCOPED_TRACE(size);
        const QImage image = emblem_pixmap(size).toImage();
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 128) ++opaque;
        // A drawing, not an empty or filled square.
        EXPECT_GT(opaque, size * size / 10);
        EXPECT_LT(opaque, size * size * 9 / 10);
    }
    EXPECT_GE(application_icon().availableSizes().size(), 5);
}

}  // namespace
}  // namespace orvix

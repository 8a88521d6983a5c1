#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QDir kHelp(QStringLiteral(TALLOWMERE_RESOURCES "/help"));

QString Page(const QString& name)
{
    QFile file(kHelp.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(name);
    return QString::fromUtf8(file.readAll());
}

// The page's links to other help pages: file and anchor ("" for none).
QList<std::pair<QString, QString>> LocalLinks(const QString& html)
{
    static const QRegularExpression link(QStringLiteral("href=\"([^\":#]*)(?:#([^\"]*))?\""));
    QList<std::pair<QString, QString>> links;
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        links.append({m.captured(1), m.captured(2)});
    }
    return links;
}

} // namespace

TEST(HelpPages, TheContentsListEveryPageAndEveryLinkLeadsToAPage)
{
    const QStringList pages = kHelp.entryList({QStringLiteral("*.htm")}, QDir::Files);
    ASSERT_TRUE(pages.contains(QStringLiteral("index.htm")));
    QSet<QString> listed;
    for (const auto& [file, anchor] : LocalLinks(Page(QStringLiteral("index.htm"))))
        listed.insert(file);
    for (const QString& page : pages) {
        const QString html = Page(page);
        if (page != QStringLiteral("index.htm")) {
            EXPECT_TRUE(listed.contains(page)) << qPrintable(page) << " is not in the contents";
            EXPECT_TRUE(html.contains(QStringLiteral("href=\"index.htm\"")))
                << qPrintable(page) << " has no way back to the contents";
        }
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("<title>[^<]+</title>")).match(html).hasMatch())
            << qPrintable(page);
        for (const auto& [file, anchor] : LocalLinks(html)) {
            const QString target = file.isEmpty() ? page : file;
            ASSERT_TRUE(pages.contains(target))
                << qPrintable(page) << " links to " << qPrintable(target);
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(Page(target).contains(QStringLiteral("name=\"%1\"").arg(anchor)))
                    << qPrintable(page) << " links to " << qPrintable(target + '#' + anchor);
            }
        }
    }
}

// The topics the program's own texts send users to the help for.
TEST(HelpPages, TheContentsLeadToEveryTopicTheProgramSendsUsersTo)
{
    const struct {
        const char* entry; // text of the contents' link
        const char* says;  // what its page must tell
    } topics[] = {
        {"Query Builder", "Save Query"},
        {"Query Builder", "Load Query"},
        {"editing", "Edit record"},
        {"Output and printing", "Export to PDF"},
        {"Output and printing", "Page N of"},
        {"Deleting and copying", "Delete record"},
        {"Deleting and copying", "different Tallowmere Database"},
        {"record summary", "Ctrl"},
        {"keys", "Ctrl+Shift+V"},
    };
    const QString contents = Page(QStringLiteral("index.htm"));
    for (const auto& topic : topics) {
        const QRegularExpression entry(QStringLiteral("href=\"([^\"]+)\">[^<]*") +
                                       QRegularExpression::escape(QLatin1String(topic.entry)));
        const QRegularExpressionMatch found = entry.match(contents);
        ASSERT_TRUE(found.hasMatch()) << topic.entry;
        EXPECT_TRUE(Page(found.captured(1)).contains(QLatin1String(topic.says)))
            << topic.entry << ": " << topic.says;
    }
}

#include "cli/VerbTable.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString Read(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return QString::fromUtf8(file.readAll());
}

// The options a verb's usage line names ("--json", "-o").
QStringList UsageOptions(const Verb& verb)
{
    QStringList options;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z0-9-]*)"));
    for (const auto& match : option.globalMatch(QString::fromLatin1(verb.usage)))
        options.append(match.captured(1));
    options.removeDuplicates();
    return options;
}

} // namespace

TEST(VerbDocumentation, ManualPageDescribesEveryVerbAndOption)
{
    const QString page = Read(QStringLiteral(TALLOWMERE_RESOURCES "/man/tallowmere-cli.1.scd"));
    for (const Verb& verb : VerbTable()) {
        const QString name = QString::fromLatin1(verb.name);
        EXPECT_TRUE(page.contains(QRegularExpression(
            QStringLiteral("^\\*%1\\*").arg(QRegularExpression::escape(name)),
            QRegularExpression::MultilineOption)))
            << "no entry for " << verb.name;
        for (const QString& option : UsageOptions(verb))
            EXPECT_TRUE(page.contains(QLatin1Char('*') + option + QLatin1Char('*')))
                << verb.name << " " << qPrintable(option);
    }
}

#include "cli/VerbTable.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

// What bash completion offers for the last of words, run in folder.
QStringList BashCompletes(const QString& folder, const QStringList& words)
{
    QProcess bash;
    bash.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(TALLOWMERE_CLI)).absolutePath() +
                                           QStringLiteral(":") + env.value(QStringLiteral("PATH")));
    bash.setProcessEnvironment(env);
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("-c"),
                           QStringLiteral("source \"$1\"; shift; COMP_WORDS=(\"$@\"); "
                                          "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                                          "if [[ $1 == tallowmere ]]; then _tallowmere; "
                                          "else _tallowmere_cli; fi; printf '%s\\n' "
                                          "\"${COMPREPLY[@]}\""),
                           QStringLiteral("bash"),
                           QStringLiteral(TALLOWMERE_RESOURCES "/completion/tallowmere-cli.bash")} +
                   words);
    EXPECT_TRUE(bash.waitForFinished(30000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().constData();
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput())
                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

} // namespace

TEST(VerbDocumentation, ManualPageDescribesEveryVerbAndOption)
{
    const QString page = Read(QStringLiteral(TALLOWMERE_RESOURCES "/man/tallowmere-cli.1.scd"));
    for (const Verb& verb : VerbTable()) {
        const QString name = QString::fromLatin1(verb.name);
        EXPECT_TRUE(page.contains(
            QRegularExpression(QStringLiteral("^\\*%1\\*").arg(QRegularExpression::escape(name)),
                               QRegularExpression::MultilineOption)))
            << "no entry for " << verb.name;
        for (const QString& option : UsageOptions(verb))
            EXPECT_TRUE(page.contains(QLatin1Char('*') + option + QLatin1Char('*')))
                << verb.name << " " << qPrintable(option);
    }
}

TEST(VerbDocumentation, ShellCompletionOffersEveryVerbAndOption)
{
    TempDir dir;
    const QString zsh = Read(QStringLiteral(TALLOWMERE_RESOURCES "/completion/_tallowmere-cli"));
    const QStringList verbs = BashCompletes(dir.Path(), {QStringLiteral("tallowmere-cli"), {}});
    for (const Verb& verb : VerbTable()) {
        const QString name = QString::fromLatin1(verb.name);
        EXPECT_TRUE(verbs.contains(name)) << "bash: no verb " << verb.name;
        const QStringList options =
            BashCompletes(dir.Path(), {QStringLiteral("tallowmere-cli"), name,
                                       QStringLiteral("x.fdb"), QStringLiteral("-")});
        // zsh: the verb's description, and its case branch naming each option.
        EXPECT_TRUE(zsh.contains(QLatin1Char('\'') + name + QLatin1Char(':')))
            << "zsh: no verb " << verb.name;
        const QRegularExpression branchStart(
            QStringLiteral("^\\s*\\((?:[a-z-]+ \\| )*%1(?: \\| [a-z-]+)*\\)")
                .arg(QRegularExpression::escape(name)),
            QRegularExpression::MultilineOption);
        const qsizetype at = zsh.indexOf(branchStart);
        const QString branch =
            at < 0 ? QString() : zsh.mid(at, zsh.indexOf(QStringLiteral(";;"), at) - at);
        EXPECT_FALSE(branch.isEmpty()) << "zsh: no branch for " << verb.name;
        const QStringList verbOptions = UsageOptions(verb) << QStringLiteral("--help");
        for (const QString& option : verbOptions) {
            EXPECT_TRUE(options.contains(option))
                << "bash: " << verb.name << " " << qPrintable(option);
            EXPECT_TRUE(branch.contains(option + QLatin1Char('[')))
                << "zsh: " << verb.name << " " << qPrintable(option);
        }
    }
}

TEST(VerbDocumentation, ShellCompletionOffersFilesOfTheRightKind)
{
    TempDir dir;
    for (const char* name : {"a.fdb", "B.FDB", "c.qry", "d.cfg", "e.txt", "f.rpt"})
        dir.Write(QString::fromLatin1(name), "");
    QDir(dir.Path()).mkdir(QStringLiteral("sub"));
    const QString cli = QStringLiteral("tallowmere-cli");
    const struct {
        QStringList words;
        QStringList offered;
    } cases[] = {
        {{cli, QStringLiteral("list"), {}}, {"B.FDB", "a.fdb", "sub/"}},
        {{cli, QStringLiteral("query"), QStringLiteral("a.fdb"), {}}, {"c.qry", "sub/"}},
        {{cli, QStringLiteral("delete"), QStringLiteral("a.fdb"), QStringLiteral("--query"), {}},
         {"c.qry", "sub/"}},
        {{cli, QStringLiteral("config"), {}}, {"d.cfg", "sub/"}},
        {{cli, QStringLiteral("template"), QStringLiteral("convert"), {}}, {"f.rpt", "sub/"}},
        {{cli, QStringLiteral("export"), QStringLiteral("a.fdb"), QStringLiteral("--type"), {}},
         {"delimited", "html", "pdf", "screen", "text"}},
        {{cli, QStringLiteral("render"), QStringLiteral("a.fdb"), QStringLiteral("1"),
          QStringLiteral("N")},
         {"Numbered.rpt"}},
        {{QStringLiteral("tallowmere"), {}}, {"B.FDB", "a.fdb", "c.qry", "sub/"}},
    };
    for (const auto& row : cases)
        EXPECT_EQ(BashCompletes(dir.Path(), row.words), row.offered)
            << qPrintable(row.words.join(' '));
}

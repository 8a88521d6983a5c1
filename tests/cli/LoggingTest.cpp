#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Standard error of tallowmere-cli args, with QT_LOGGING_RULES set to rules
// (none when empty).
QByteArray Log(const QStringList& args, const QString& rules = QString())
{
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    if (!rules.isEmpty())
        env.insert(QStringLiteral("QT_LOGGING_RULES"), rules);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(TALLOWMERE_CLI), args);
    EXPECT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().constData();
    return cli.readAllStandardError();
}

} // namespace

TEST(Logging, SilentUntilVerboseOrRulesTurnItOn)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("log.fdb"));
    ASSERT_EQ(RunCli({"create", db}), 0);
    ASSERT_EQ(RunCli({"import", db, dir.Write(QStringLiteral("r.txt"), "name=Ann\r\n")}), 0);

    EXPECT_FALSE(Log({"list", db}).contains("tallowmere."));
    const QByteArray verbose = Log({"--verbose", "find", db, "name", "A%"});
    for (const char* line :
         {"tallowmere.database: opening ", "tallowmere.config: configuration read from ",
          "tallowmere.search: ", "tallowmere.cli: find ended with status 0 after "})
        EXPECT_TRUE(verbose.contains(line)) << line << "\n" << verbose.constData();
    // Statements with their timings, never the values bound to them.
    EXPECT_TRUE(verbose.contains(" ms: SELECT ")) << verbose.constData();
    EXPECT_FALSE(verbose.contains("A%")) << verbose.constData();

    const QByteArray sqlOnly = Log({"list", db}, QStringLiteral("tallowmere.database.debug=true"));
    EXPECT_TRUE(sqlOnly.contains("tallowmere.database: ")) << sqlOnly.constData();
    EXPECT_FALSE(sqlOnly.contains("tallowmere.cli: ")) << sqlOnly.constData();
}

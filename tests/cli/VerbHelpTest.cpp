#include "cli/VerbTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(VerbHelp, EveryVerbPrintsItsOwnUsage)
{
    ASSERT_FALSE(VerbTable().empty());
    for (const Verb& verb : VerbTable()) {
        const QString name = QString::fromLatin1(verb.name);
        QByteArray viaHelp, viaFlag, err;
        ASSERT_EQ(RunCli({QStringLiteral("help"), name}, &viaHelp, &err), 0) << verb.name;
        EXPECT_TRUE(viaHelp.startsWith(QByteArray("Usage: tallowmere-cli ") + verb.usage + "\n"))
            << viaHelp.constData();
        EXPECT_TRUE(viaHelp.simplified().contains(QByteArray(verb.summary).simplified()))
            << verb.name;
        // --help anywhere among the options wins over running the verb.
        ASSERT_EQ(
            RunCli({name, QStringLiteral("no-such.fdb"), QStringLiteral("--help")}, &viaFlag, &err),
            0)
            << verb.name;
        EXPECT_EQ(viaFlag, viaHelp) << verb.name;
        EXPECT_TRUE(err.isEmpty()) << err.constData();
    }
}

TEST(VerbHelp, UnknownVerbIsAUsageError)
{
    QByteArray out, err;
    EXPECT_EQ(RunCli({QStringLiteral("help"), QStringLiteral("frobnicate")}, &out, &err), 2);
    EXPECT_TRUE(err.contains("unknown verb 'frobnicate'")) << err.constData();
    EXPECT_TRUE(out.isEmpty());
    // After "--" a "--help" is an operand, not a request for help.
    EXPECT_EQ(RunCli({QStringLiteral("parse"), QStringLiteral("--"), QStringLiteral("--help")},
                     &out, &err),
              1);
    EXPECT_TRUE(err.contains("--help")) << err.constData();
    EXPECT_FALSE(out.contains("Usage:"));
}

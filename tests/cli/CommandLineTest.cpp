#include "app/ProgramInfo.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

TEST(CommandLine, HelpAndVersion)
{
    QByteArray out, err;
    ASSERT_EQ(RunCli({"--help"}, &out, &err), 0);
    EXPECT_TRUE(out.contains("import [--relative-to DIR] [--again] [--json] DB FILE|FOLDER..."));
    int line = 0;
    for (const QByteArray& text : out.split('\n')) {
        ++line;
        EXPECT_FALSE(text.endsWith(' ') || text.endsWith('\t'))
            << "line " << line << " ends in a blank: '" << text.constData() << "'";
    }
    ASSERT_EQ(RunCli({"--version"}, &out, &err), 0);
    EXPECT_EQ(out, ("tallowmere-cli (Tallowmere) " + ProgramInfo::Version() + "\n").toUtf8());
    EXPECT_TRUE(err.isEmpty());
}

TEST(CommandLine, MessagesSayOnlyWhatWentWrong)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("m.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    const QString responses = dir.Write(QStringLiteral("r.txt"), "name=Ann\r\n\r\nname=Bob\r\n");
    ASSERT_EQ(RunCli({"import", db, responses}, &out, &err), 0);

    // A range given backwards: its message, and not the opening's status.
    EXPECT_EQ(RunCli({"export", db, "--type", "screen", "--ids", "5-2"}, &out, &err), 1);
    EXPECT_EQ(err, QByteArray("'From' value should be less than 'To' value\n"));
    EXPECT_TRUE(out.isEmpty());
    // The status of a run that worked is still told.
    ASSERT_EQ(RunCli({"export", db, "--type", "screen", "--ids", "1-2"}, &out, &err), 0);
    EXPECT_TRUE(out.contains("Bob"));
    EXPECT_FALSE(err.contains("Database Ready")) << err.constData();

    // An unknown Quick Find field is named.
    EXPECT_EQ(RunCli({"find", db, "Colour", "red"}, &out, &err), 1);
    EXPECT_EQ(err, QByteArray("Field not found: Colour\n"));

    // The file without a response is named on the message's own line.
    const QString prose = dir.Write(QStringLiteral("prose.txt"), "no form here\n");
    EXPECT_EQ(RunCli({"import", db, prose}, &out, &err), 0);
    EXPECT_TRUE(err.contains("No valid Record in file " +
                             QFileInfo(prose).absoluteFilePath().toUtf8() + "\n"))
        << err.constData();
}

TEST(CommandLine, ImportNamesFilesRelativeToAFolder)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("rel.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    ASSERT_TRUE(QDir(dir.Path()).mkpath(QStringLiteral("in")));
    const QString file = dir.Write(QStringLiteral("in/a.txt"), "name=Ann\r\n");
    ASSERT_EQ(RunCli({"import", "--relative-to", dir.Path(), db, file}, &out, &err), 0)
        << err.constData();
    ASSERT_EQ(RunCli({"list", db}, &out, &err), 0);
    EXPECT_TRUE(out.endsWith("\tAnn\tin/a.txt\n")) << out.constData();
    EXPECT_EQ(RunCli({"import", db, file, "--relative-to"}, &out, &err), 2);
}

// The shipped sample database names each record's file relative to the
// program folder, so it reads the same on every machine and tells nothing
// about the machine it was built on.
TEST(CommandLine, SampleDatabaseNamesItsOwnFiles)
{
    const QString program = QStringLiteral(TALLOWMERE_PROGRAM_DIR);
    SQLite::Database sample((program + "/SampleDB.fdb").toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement query(sample, "SELECT File_Name FROM Forms ORDER BY FormID");
    int records = 0;
    while (query.executeStep()) {
        ++records;
        const QString source = QString::fromStdString(query.getColumn(0).getString());
        EXPECT_TRUE(source.startsWith(QStringLiteral("samples/"))) << source.toStdString();
        EXPECT_FALSE(source.contains(QStringLiteral(TALLOWMERE_RESOURCES)));
        EXPECT_TRUE(QFileInfo::exists(program + "/" + source)) << source.toStdString();
    }
    EXPECT_GE(records, 14);
    SQLite::Statement feedback(sample, "SELECT COUNT(*) FROM Forms WHERE File_Name = "
                                       "'samples/feedback.txt'");
    ASSERT_TRUE(feedback.executeStep());
    EXPECT_GT(feedback.getColumn(0).getInt(), 0);
}

// After "--" every argument is a file or a value, even one starting with "-";
// before it an unknown option is a usage error.
TEST(CommandLine, DoubleDashEndsTheOptions)
{
    TempDir dir;
    QDir::setCurrent(dir.Path());
    ASSERT_EQ(RunCli({"create", "--", "-x.fdb"}), 0);
    ASSERT_EQ(RunCli({"import", "--", "-x.fdb", dir.Write("--yes", "name=dash\r\n")}), 0);
    struct Case {
        QStringList args;
        int status;
        QByteArray out;
    };
    const Case cases[] = {
        {{"list", "--", "-x.fdb"}, 0, "dash"},
        {{"list", "-x.fdb"}, 2, ""},
        {{"find", "--", "-x.fdb", "name", "-*"}, 0, ""},
        {{"find", "-x.fdb", "name", "d*"}, 2, ""},
        {{"find", "--", "-x.fdb", "name", "d*"}, 0, "dash"},
        {{"show", "--", "-x.fdb", "1"}, 0, "dash"},
        {{"fields", "--json", "--", "-x.fdb"}, 2, ""},
        {{"parse", "--", "--yes"}, 0, "dash"},
    };
    for (const Case& c : cases) {
        QByteArray out, err;
        EXPECT_EQ(RunCli(c.args, &out, &err), c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(out.contains("dash"), !c.out.isEmpty()) << c.args.join(' ').toStdString();
    }
}

// Opening and creating tell the same story of a link to nothing.
TEST(CommandLine, ALinkToNothingIsNamedSoByEveryVerb)
{
    TempDir dir;
    const QString link = dir.File(QStringLiteral("link.fdb"));
    ASSERT_TRUE(QFile::link(dir.File(QStringLiteral("gone.fdb")), link));
    const QByteArray said = "'" + link.toUtf8() + "' is a symbolic link to '" +
                            dir.File(QStringLiteral("gone.fdb")).toUtf8() +
                            "', which does not exist\n";
    for (const QStringList& args : {QStringList{"list", link}, QStringList{"create", link},
                                    QStringList{"import", link, link}}) {
        QByteArray out, err;
        EXPECT_EQ(RunCli(args, &out, &err), 1) << args.first().toStdString();
        EXPECT_TRUE(err.endsWith(said)) << err.constData();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.File(QStringLiteral("gone.fdb"))));
}

TEST(CommandLine, ImportReadsACsvExportWithItsWarningsOnStandardError)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("csv.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    const QString file = dir.Write(QStringLiteral("export.csv"),
                                   "Name,Submitted\nAnn,2024-05-01\nBob,2024-05-02,extra\n");
    ASSERT_EQ(RunCli({"import", "--json", db, file}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.endsWith("{\"failed\":0,\"imported\":2,\"known\":0,\"no_response\":0,"
                             "\"read\":2,\"stored\":2,\"warnings\":1}\n"))
        << out.constData();
    EXPECT_EQ(err, QFileInfo(file).absoluteFilePath().toUtf8() +
                       " line 3: 3 cell(s) where the header has 2; the row is read with the "
                       "cells it has\n");
    SQLite::Database stored(db.toStdString());
    EXPECT_EQ(stored
                  .execAndGet("SELECT group_concat(Form_Date || ' ' || Form_Name, ',') FROM "
                              "Forms")
                  .getString(),
              "2024-05-01 Ann,2024-05-02 Bob");
}

#include "session/Session.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "support/TallyLine.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/stat.h>

namespace {

// The records another process has committed to db, once at least atLeast
// of them are there (or after ten seconds).
int StoredRecords(const QString& db, int atLeast)
{
    int stored = 0;
    (void)QTest::qWaitFor(
        [&] {
            try {
                SQLite::Database peek(db.toStdString(), SQLite::OPEN_READONLY, 1000);
                stored = peek.execAndGet("SELECT count(*) FROM Forms").getInt();
            } catch (const std::exception&) {
            }
            return stored >= atLeast;
        },
        10000);
    return stored;
}

} // namespace

TEST(DatabaseVerbs, CreateImportListShowFieldsInfo)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("cli.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
    EXPECT_EQ(err, (db + " Database Created\n").toUtf8());
    EXPECT_EQ(RunCli({"create", db}, &out, &err), 1);
    EXPECT_EQ(err, ("Database '" + db + "' already exists.\n").toUtf8());

    const QString file =
        dir.Write(QStringLiteral("r.txt"), "name=Ann&age=30\r\n\r\nname=Bob&note=a%0D%0Ab\r\n");
    ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, ("2 Record(s) imported in to " + db + "\n").toUtf8() + TallyLine(2, 2));

    const QString date = QFileInfo(file).lastModified().date().toString(Qt::ISODate);
    ASSERT_EQ(RunCli({"list", db}, &out, &err), 0);
    EXPECT_EQ(out, QStringLiteral("1\t%1\tAnn\t%2\n2\t%1\tBob\t%2\n").arg(date, file).toUtf8());
    ASSERT_EQ(RunCli({"list", "--json", db}, &out, &err), 0);
    EXPECT_EQ(out,
              QStringLiteral("[\n  {\"FormID\": 1, \"Form_Name\": \"Ann\", \"Form_Notes\": \"\", "
                             "\"Form_Date\": \"%1\", \"File_Name\": \"%2\"},\n"
                             "  {\"FormID\": 2, \"Form_Name\": \"Bob\", \"Form_Notes\": \"\", "
                             "\"Form_Date\": \"%1\", \"File_Name\": \"%2\"}\n]\n")
                  .arg(date, file)
                  .toUtf8());
    ASSERT_EQ(RunCli({"show", "--json", db, "2"}, &out, &err), 0);
    EXPECT_EQ(out,
              QStringLiteral(
                  "{\"FormID\": 2, \"Form_Name\": \"Bob\", \"Form_Notes\": \"\", "
                  "\"Form_Date\": \"%1\", \"File_Name\": \"%2\", \"fields\": ["
                  "{\"DataID\": 3, \"Field_Name\": \"name\", \"Field_Value\": \"Bob\"}, "
                  "{\"DataID\": 4, \"Field_Name\": \"note\", \"Field_Value\": \"a\\r\\nb\"}]}\n")
                  .arg(date, file)
                  .toUtf8());
    EXPECT_EQ(RunCli({"show", db, "9"}, &out, &err), 1);
    EXPECT_EQ(err, ("No record with FormID 9 in " + db + "\n").toUtf8());
    ASSERT_EQ(RunCli({"fields", db}, &out, &err), 0);
    EXPECT_EQ(out, QByteArray("name\nage\nnote\n"));
    ASSERT_EQ(RunCli({"info", db}, &out, &err), 0);
    EXPECT_EQ(out, QByteArray("Created by\tTallowmere\nVersion\t1.9.0\nType\tNormal\n"
                              "FieldNamesList\t\\r\\nname\\r\\nage\\r\\nnote\\r\\n\n"));

    // Bad arguments and bad files.
    EXPECT_EQ(RunCli({"show", db, "x"}, &out, &err), 2);
    EXPECT_EQ(RunCli({"import", db}, &out, &err), 2);
    const QString junk = dir.Write(QStringLiteral("junk.fdb"), QByteArray(4096, 'j'));
    EXPECT_EQ(RunCli({"list", junk}, &out, &err), 1);
    EXPECT_EQ(err, QByteArray("Error opening database: file is not a database\n"));
    EXPECT_EQ(dir.Read(QStringLiteral("junk.fdb")), QByteArray(4096, 'j'));
    // The command line does not touch the settings file.
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("Tallowmere.ini"))));
}

// An import killed part-way leaves a sound file holding whole records only.
TEST(DatabaseVerbs, KilledImportLeavesOnlyCompleteRecords)
{
    constexpr int kFields = 7;
    TempDir dir;
    const QString db = dir.File(QStringLiteral("kill.fdb"));
    ASSERT_EQ(RunCli({"create", db}), 0);
    QFile file(dir.File(QStringLiteral("big.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int r = 0; r < 200000; ++r) {
        QByteArray line;
        for (int i = 0; i < kFields; ++i)
            line += (i ? "&f" : "f") + QByteArray::number(i) + "=value+" + QByteArray::number(r);
        file.write(line + "\r\n\r\n");
    }
    file.close();

    QProcess process;
    process.start(QStringLiteral(TALLOWMERE_CLI), {"import", db, file.fileName()});
    ASSERT_TRUE(process.waitForStarted());
    // Wait until records are being committed, then kill it mid-import.
    StoredRecords(db, 3000);
    ASSERT_EQ(process.state(), QProcess::Running) << "the import ended before it was killed";
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    process.waitForFinished();

    {
        SQLite::Database check(db.toStdString(), SQLite::OPEN_READWRITE);
        EXPECT_EQ(check.execAndGet("PRAGMA integrity_check").getString(), "ok");
        EXPECT_GT(check.execAndGet("SELECT count(*) FROM Forms").getInt(), 0);
        EXPECT_LT(check.execAndGet("SELECT count(*) FROM Forms").getInt(), 200000);
        EXPECT_EQ(check
                      .execAndGet("SELECT count(*) FROM Forms f WHERE (SELECT count(*) FROM "
                                  "Data d WHERE d.FormID = f.FormID) <> " +
                                  std::to_string(kFields))
                      .getInt(),
                  0);
        EXPECT_EQ(check
                      .execAndGet("SELECT count(*) FROM Data WHERE FormID NOT IN "
                                  "(SELECT FormID FROM Forms)")
                      .getInt(),
                  0);
    }
    ScriptedUi ui;
    Session session(ui, dir.Folders(), Regional(TestLocale()));
    EXPECT_TRUE(OpenResumeDatabase(session, db));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(session.Tables.FieldCount(), kFields);
}

TEST(DatabaseVerbs, AFieldNameHoldingNulIsListedWholeAndNamesAfterItStay)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("nul.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
    const QString file = dir.Write(QStringLiteral("r.txt"), "a%00b=1&zz=2\r\n\r\nlast=3\r\n");
    ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    // Read again from the file, by a new process.
    ASSERT_EQ(RunCli({"fields", db}, &out, &err), 0);
    EXPECT_EQ(out, QByteArray("a\0b\nzz\nlast\n", 12));
    const QString csv = dir.File(QStringLiteral("all.csv"));
    ASSERT_EQ(
        RunCli({"export", db, "--type", "delimited", "-o", csv, "--fields", "zz,last", "--header"},
               &out, &err),
        0)
        << err.constData();
    EXPECT_EQ(dir.Read(QStringLiteral("all.csv")), "zz,last\r\n2,\r\n,3\r\n");
}

// Ctrl-C, SIGTERM or SIGHUP during an import: what was read is committed,
// counted and said, and the exit status is the signal's.
TEST(DatabaseVerbs, AnImportStoppedBySignalStoresAndCountsWhatItRead)
{
    TempDir dir;
    QByteArray text;
    for (int r = 0; r < 150000; ++r)
        text +=
            "name=n" + QByteArray::number(r) + "&age=" + QByteArray::number(r % 90) + "\r\n\r\n";
    const QString file = dir.Write(QStringLiteral("big.txt"), text);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const QString db = dir.File(QStringLiteral("s%1.fdb").arg(signal));
        ASSERT_EQ(RunCli({"create", db}), 0);
        QProcess process;
        process.start(QStringLiteral(TALLOWMERE_CLI), {"import", db, file});
        ASSERT_TRUE(process.waitForStarted());
        const int stored = StoredRecords(db, 1);
        ASSERT_EQ(process.state(), QProcess::Running) << "the import ended before the signal";
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 128 + signal);
        SQLite::Database check(db.toStdString(), SQLite::OPEN_READONLY);
        const int count = check.execAndGet("SELECT count(*) FROM Forms").getInt();
        EXPECT_GE(count, stored);
        EXPECT_LT(count, 150000);
        EXPECT_EQ(process.readAllStandardOutput(), QByteArray::number(count) +
                                                       " Record(s) imported in to " + db.toUtf8() +
                                                       "\n" + TallyLine(count, count));
        EXPECT_TRUE(process.readAllStandardError().contains(
            QStringLiteral("the %1 record(s) read before it are stored").arg(count).toUtf8()));
    }
}

// A pipe named as a response file is refused at once, not waited on.
TEST(DatabaseVerbs, APipeIsRefusedWithAMessage)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("p.fdb"));
    const QString fifo = dir.File(QStringLiteral("pipe.txt"));
    ASSERT_EQ(RunCli({"create", db}), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray out, err;
    EXPECT_EQ(RunCli({"import", db, fifo}, &out, &err), 1);
    EXPECT_EQ(out, ("0 Record(s) imported in to " + db + "\n").toUtf8() + TallyLine(0, 0, 0, 0, 1));
    EXPECT_TRUE(
        err.startsWith(("Error reading Record from " + fifo + ": Not a regular file").toUtf8()))
        << err.constData();
}

// A field past the documented limit is refused by name, counted as a
// failure, and the responses around it are still stored.
TEST(DatabaseVerbs, AFieldPastTheLimitIsRefusedAndTheOthersStored)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("limit.fdb"));
    ASSERT_EQ(RunCli({"create", db}), 0);
    const QString file = dir.Write(QStringLiteral("r.txt"),
                                   "name=one\r\n\r\nname=big&v=" + QByteArray(129 << 20, 'x') +
                                       "\r\n\r\nname=three\r\n");
    for (const QStringList& args : {QStringList{"parse", file}, QStringList{"import", db, file}}) {
        QByteArray out, err;
        EXPECT_EQ(RunCli(args, &out, &err), 1) << args.first().toStdString();
        EXPECT_EQ(err, "Error reading data: a line longer than 128 MB was skipped\n");
    }
    QByteArray out;
    ASSERT_EQ(RunCli({"list", db}, &out), 0);
    EXPECT_EQ(out.count('\n'), 2);
}

TEST(DatabaseVerbs, ImportOfSavedMail)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("mail.fdb"));
    const QString data = QStringLiteral(TALLOWMERE_TEST_DATA "/../../responses/data/");
    const QString msg = QFileInfo(data + "outlook.msg").absoluteFilePath();
    const QString emlx = QFileInfo(data + "apple-mail.emlx").absoluteFilePath();
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
    // The .msg is refused, the .emlx after it still imported; the run fails.
    EXPECT_EQ(RunCli({"import", db, msg, emlx}, &out, &err), 1);
    EXPECT_TRUE(err.startsWith(("Cannot read Outlook message files " + msg).toUtf8()))
        << err.constData();
    EXPECT_EQ(out, ("1 Record(s) imported in to " + db + "\n").toUtf8() + TallyLine(1, 1, 0, 0, 1));
    ASSERT_EQ(RunCli({"list", db}, &out, &err), 0);
    EXPECT_EQ(out, ("1\t2024-11-07\tDana Byrne\t" + emlx + "\n").toUtf8());
}

TEST(DatabaseVerbs, ListingPutsEachRecordOnOneLineAsItsTextsRead)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("lines.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
    const QString file =
        dir.Write(QStringLiteral("r.txt"), "a=1\r\n\r\nb=2\r\n\r\nc=3\r\n\r\nd=4\r\n\r\n"
                                           "e=5\r\n\r\nf=6\r\n");
    ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    {
        // Texts as another program may have stored them.
        SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
        d.exec("UPDATE Forms SET Form_Name = 'two\r\nlines\there', Form_Date = '2021-07-09 10:30', "
               "File_Name = 'cr\ronly\nlf' WHERE FormID = 1");
        d.exec("UPDATE Forms SET Form_Name = CAST(X'EFBBBF5A' AS TEXT), Form_Date = 'soon', "
               "File_Name = CAST(X'2F41FF' AS TEXT) WHERE FormID = 2");
        d.exec("UPDATE Forms SET Form_Name = 'Z\xc3\xbcrich', Form_Date = NULL, File_Name = '' "
               "WHERE FormID = 3");
        d.exec("UPDATE Forms SET Form_Name = '\r\r\n\n', Form_Date = 20240305 WHERE FormID = 4");
        d.exec("UPDATE Forms SET Form_Date = '1998-01-05' WHERE FormID IN (5, 6)");
        d.exec("DELETE FROM Forms WHERE FormID = 5");
    }
    ASSERT_EQ(RunCli({"list", db}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, QByteArray("1\t2021-07-09\ttwo lines here\tcr only lf\n"
                              "2\t\tZ\t/A\xef\xbf\xbd\n"
                              "3\t\tZ\xc3\xbcrich\t\n"
                              "4\t\t   \t") +
                       file.toUtf8() + "\n6\t1998-01-05\t6\t" + file.toUtf8() + "\n");
    // The JSON listing holds each record's object as show gives it, without
    // its fields: texts that need escapes, characters beyond 16 bits, a
    // number stored in a text column, an empty date.
    {
        SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
        d.exec("UPDATE Forms SET Form_Notes = 'q\"uote' || char(1) || '\\x', "
               "Form_Name = 'emoji \xf0\x9f\x98\x80 end' WHERE FormID = 2");
        d.exec("UPDATE Forms SET Form_Notes = 7 WHERE FormID = 3");
        d.exec("UPDATE Forms SET Form_Notes = NULL WHERE FormID = 4");
    }
    QByteArray objects;
    for (const char* id : {"1", "2", "3", "4", "6"}) {
        ASSERT_EQ(RunCli({"show", "--json", db, id}, &out, &err), 0) << err.constData();
        objects += (objects.isEmpty() ? "[\n  " : ",\n  ") +
                   out.left(out.indexOf(", \"fields\": [")) + "}";
    }
    ASSERT_EQ(RunCli({"list", "--json", db}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, objects + "\n]\n");
    EXPECT_TRUE(out.contains("\"Form_Notes\": \"q\\\"uote\\u0001\\\\x\"")) << out.constData();
    EXPECT_TRUE(out.contains("\"Form_Notes\": \"7\"")) << out.constData();

    // A search result is listed in its own order, found records only.
    ASSERT_EQ(RunCli({"find", db, "Record Name", "*"}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.startsWith("1\t2021-07-09\ttwo lines here\t")) << out.constData();
    EXPECT_EQ(out.count('\n'), 5);
}

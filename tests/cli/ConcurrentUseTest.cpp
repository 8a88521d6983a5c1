#include "database/DatabaseFixture.h"
#include "database/RecordDeletion.h"
#include "database/RecordTransfer.h"
#include "session/RecordChooser.h"
#include "session/RecordSelection.h"
#include "database/RecordWriter.h"
#include "responses/ResponseImport.h"
#include "support/TallyLine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Responses(TempDir& dir, const QString& name, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "name=" + name.toUtf8() + QByteArray::number(i) +
                "&age=" + QByteArray::number(i % 90) + "\r\n\r\n";
    return dir.Write(name + QStringLiteral(".txt"), text);
}

QByteArray Shell(const QString& db, const char* sql)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {db, QString::fromUtf8(sql)});
    shell.waitForFinished(60000);
    return shell.readAllStandardOutput().trimmed();
}

ino_t Inode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Makes path unwritable even for root (the immutable attribute) or undoes it.
bool Freeze(const QString& path, bool on)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(path,
                                     on ? QFile::ReadOwner | QFile::ExeOwner
                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QProcess::execute(QStringLiteral("chattr"), {on ? "+i" : "-i", path}) == 0;
}

// Answers the Select Records dialog with an ID range.
struct ChosenRange : RecordChooser {
    ChosenRange(Session& s, RecordSelection range) : session(s), range(range) {}
    void ShowSelectDialog(const QString&) override { session.Selection = range; }
    std::vector<qint64> SelectedSummaryRows() const override { return {}; }
    Session& session;
    RecordSelection range;
};

} // namespace

// A writer in this process and reading processes at once: each reader sees
// every committed change, and the writer's log stays the one it opened.
TEST(ConcurrentUse, ReadersSeeEveryCommitAndTheWritersLogStays)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    const QString wal = db + QStringLiteral("-wal");
    int expected = 0;
    ino_t log = 0;
    const auto readersAgree = [&](const char* step) {
        if (!log)
            log = Inode(wal);
        QByteArray out, err;
        ASSERT_EQ(RunCli({"list", db}, &out, &err), 0) << step << err.constData();
        EXPECT_EQ(out.count('\n'), expected) << step;
        ASSERT_EQ(RunCli({"info", db}, &out, &err), 0) << step << err.constData();
        EXPECT_EQ(Shell(db, "SELECT count(*) FROM Forms"), QByteArray::number(expected)) << step;
        RunCli({"find", db, "Record Name", "edited"}, &out, &err);
        EXPECT_NE(log, 0u) << step;
        EXPECT_EQ(Inode(wal), log) << step << ": the log was removed under the writer";
    };
    for (int round = 0; round < 3; ++round) {
        const ImportOutcome imported = ImportResponseFiles(
            f.session, {Responses(f.dir, QStringLiteral("r%1-").arg(round), 700)});
        ASSERT_FALSE(imported.failed) << f.ui.MessageTexts().join('|').toStdString();
        expected += 700;
        readersAgree("import");
    }
    // A record saved with a change, and one with notes.
    f.session.Database.RecordState = DatabaseState::EditRecord;
    f.session.Tables.PutArrayElement(1, 1, QStringLiteral("edited"));
    f.session.Tables.PutArrayElement(1, 2, QStringLiteral("a note"));
    ASSERT_TRUE(WriteResumes(f.session, 1)) << f.ui.MessageTexts().join('|').toStdString();
    readersAgree("edit");
    EXPECT_EQ(Shell(db, "SELECT count(*) FROM Forms WHERE Form_Name = 'edited' AND "
                        "Form_Notes = 'a note'"),
              "1");

    // A range deleted, then records copied into the open file itself.
    ChosenRange first100(f.session, {1, 100});
    f.ui.QueueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(DeleteResumes(f.session, first100).deleted, 100);
    expected -= 100;
    readersAgree("delete");
    ChosenRange next50(f.session, {101, 150});
    f.ui.QueueFiles({db});
    ASSERT_EQ(WriteRecordsToDB(f.session, next50).saved, 50);
    expected += 50;
    readersAgree("transfer");
}

// Importing processes at once: each waits its turn, in every round.
TEST(ConcurrentUse, WritersAtOnceAllFinishWithEveryRecord)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("many.fdb"));
    ASSERT_EQ(RunCli({"create", db}), 0);
    for (int round = 1; round <= 3; ++round) {
        // New responses each round: the ledger keeps known ones out.
        QStringList files;
        for (const char* name : {"a", "b", "c"})
            files.append(Responses(dir, QStringLiteral("%1%2-").arg(name).arg(round), 3000));
        QProcess writers[3];
        for (int i = 0; i < 3; ++i)
            writers[i].start(QStringLiteral(TALLOWMERE_CLI), {"import", db, files[i]});
        for (QProcess& p : writers) {
            ASSERT_TRUE(p.waitForFinished(120000));
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
            EXPECT_EQ(p.readAllStandardOutput(), "3000 Record(s) imported in to " + db.toUtf8() +
                                                     "\n" + TallyLine(3000, 3000));
        }
        EXPECT_EQ(Shell(db, "SELECT count(*) FROM Forms"), QByteArray::number(9000 * round));
    }
    EXPECT_EQ(Shell(db, "PRAGMA integrity_check"), "ok");
}

// A file and then a folder that cannot be written are still read; reading
// never changes the journal mode.
TEST(ConcurrentUse, ReadOnlyFilesAndFoldersAreReadUnchanged)
{
    TempDir dir, out;
    const QString folder = dir.File(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString db = folder + QStringLiteral("/ro.fdb");
    ASSERT_EQ(RunCli({"create", db}), 0);
    ASSERT_EQ(Shell(db, "PRAGMA journal_mode"), "delete");
    QByteArray text, err;
    ASSERT_EQ(RunCli({"info", db}, &text, &err), 0) << err.constData();
    EXPECT_EQ(Shell(db, "PRAGMA journal_mode"), "delete") << "a reader set the journal mode";
    ASSERT_EQ(RunCli({"import", db, Responses(out, QStringLiteral("r"), 5)}), 0);
    ASSERT_EQ(Shell(db, "PRAGMA journal_mode"), "wal");

    for (const QString& frozen : {db, folder}) {
        // The last connection to close takes the log and its index away,
        // which readers in a frozen folder cannot make again.
        Shell(db, "SELECT count(*) FROM Forms");
        ASSERT_FALSE(QFile::exists(db + QStringLiteral("-shm")));
        if (!Freeze(frozen, true))
            GTEST_SKIP() << "the file system keeps no immutable attribute";
        const QString csv = out.File(QStringLiteral("out.csv"));
        QFile::remove(csv);
        EXPECT_EQ(RunCli({"list", db}, &text, &err), 0) << err.constData();
        EXPECT_EQ(text.count('\n'), 5);
        EXPECT_EQ(RunCli({"find", db, "name", "r*"}, &text, &err), 0) << err.constData();
        EXPECT_EQ(text.count('\n'), 5);
        EXPECT_EQ(RunCli({"export", db, "--type", "delimited", "-o", csv}, &text, &err), 0)
            << err.constData();
        EXPECT_TRUE(QFile::exists(csv));
        if (frozen == db) {
            EXPECT_EQ(RunCli({"import", db, out.File(QStringLiteral("r.txt"))}, &text, &err), 1);
        }
        Freeze(frozen, false);
    }
}

// A create or transfer stopped while it makes the target leaves no empty
// or half-made file under the target's name, and the next run works.
TEST(ConcurrentUse, KilledCreateOrTransferLeavesNoBrokenTarget)
{
    TempDir dir;
    const QString source = dir.File(QStringLiteral("s.fdb"));
    ASSERT_EQ(RunCli({"create", source}), 0);
    ASSERT_EQ(RunCli({"import", source, Responses(dir, QStringLiteral("s"), 3)}), 0);
    const QStringList runs[] = {{"create", dir.File(QStringLiteral("c.fdb"))},
                                {"transfer", source, dir.File(QStringLiteral("t.fdb")), "--yes"}};
    for (const QStringList& run : runs) {
        const QString target = run[run[0] == QStringLiteral("create") ? 1 : 2];
        QProcess child;
        child.start(QStringLiteral(TALLOWMERE_CLI), run);
        ASSERT_TRUE(child.waitForStarted());
        // Stopped as soon as anything for the target appears.
        const QString stem = QFileInfo(target).fileName();
        while (child.state() == QProcess::Running &&
               QDir(dir.Path()).entryList({"*" + stem + "*"}, QDir::Files | QDir::Hidden).isEmpty())
            ;
        child.kill();
        child.waitForFinished();
        if (QFile::exists(target)) {
            EXPECT_EQ(RunCli({"info", target}), 0) << "a broken " << stem.toStdString();
            // Deleted whole, as a user deletes a database: with its log.
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                QFile::remove(target + suffix);
        }
        QByteArray text, err;
        EXPECT_EQ(RunCli(run, &text, &err), 0) << err.constData();
        EXPECT_EQ(RunCli({"info", target}), 0);
    }
}

// A new database is never made beside the log or journal of a deleted one of
// the same name, which would play the old records into it; nothing is touched.
TEST(ConcurrentUse, ALogLeftByADeletedDatabaseStopsCreateAndTransfer)
{
    TempDir dir;
    const QString source = dir.File(QStringLiteral("s.fdb"));
    ASSERT_EQ(RunCli({"create", source}), 0);
    const QString target = dir.File(QStringLiteral("t.fdb"));
    for (const char* suffix : {"-wal", "-journal"}) {
        SCOPED_TRACE(suffix);
        const QString leftover = target + QLatin1String(suffix);
        dir.Write(QFileInfo(leftover).fileName(), "old log");
        for (const QStringList& run :
             {QStringList{"create", target}, QStringList{"transfer", source, target, "--yes"}}) {
            QByteArray text, err;
            EXPECT_EQ(RunCli(run, &text, &err), 1);
            EXPECT_TRUE(err.contains("Cannot create the database: '" + leftover.toUtf8() +
                                     "' is left from an earlier database"))
                << err.constData();
            EXPECT_FALSE(QFile::exists(target));
            EXPECT_EQ(dir.Read(QFileInfo(leftover).fileName()), QByteArray("old log"));
        }
        QFile::remove(leftover);
    }
    EXPECT_EQ(RunCli({"create", target}), 0);
}

// Files that are not this program's databases are refused with a message.
TEST(ConcurrentUse, FilesWithoutAVersionOrRecordTablesAreRefused)
{
    TempDir dir;
    const QString noData = dir.File(QStringLiteral("nodata.fdb"));
    const QString noDot = dir.File(QStringLiteral("nodot.fdb"));
    ASSERT_EQ(RunCli({"create", noData}), 0);
    ASSERT_EQ(RunCli({"create", noDot}), 0);
    Shell(noData, "DROP TABLE Data");
    Shell(noDot, "UPDATE Info SET Value = '19' WHERE Key = 'Version'");
    QByteArray text, err;
    EXPECT_EQ(RunCli({"list", noData}, &text, &err), 1);
    EXPECT_TRUE(err.contains("Invalid database")) << err.constData();
    EXPECT_EQ(RunCli({"info", noDot}, &text, &err), 1);
    EXPECT_TRUE(err.contains("Invalid database: its version \"19\"")) << err.constData();
}

// Searches running at once in two programs of one program folder each find
// their own records, and leave no result file behind.
TEST(ConcurrentUse, TwoSearchesAtOnceEachKeepTheirOwnResult)
{
    TempDir dir;
    dir.Write(QStringLiteral("default.cfg"), "");
    const QString dbs[2] = {dir.File(QStringLiteral("a.fdb")), dir.File(QStringLiteral("b.fdb"))};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(RunCli({"create", dbs[i]}), 0);
        ASSERT_EQ(RunCli({"import", dbs[i], Responses(dir, QString(QChar('a' + i)), 8000 + i)}), 0);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TALLOWMERE_HOME"), dir.Path());
    for (int round = 0; round < 3; ++round) {
        QProcess finds[2];
        for (int i = 0; i < 2; ++i) {
            finds[i].setProcessEnvironment(env);
            finds[i].start(QStringLiteral(TALLOWMERE_CLI),
                           {"find", dbs[i], "name", QString(QChar('a' + i)) + "*"});
        }
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(finds[i].waitForFinished(120000));
            EXPECT_EQ(finds[i].exitCode(), 0) << finds[i].readAllStandardError().constData();
            EXPECT_EQ(finds[i].readAllStandardOutput().count('\n'), 8000 + i) << round;
        }
    }
    EXPECT_EQ(QDir(dir.Path()).entryList({"tallowmere-*", "TempDB*"}, QDir::AllEntries),
              QStringList());
}

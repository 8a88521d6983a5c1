// Import of files nobody would write by hand: each gives a clear message
// and loses nothing that could be kept.
#include "../database/DatabaseFixture.h"
#include "responses/MailFormat.h"
#include "responses/ResponseImport.h"
#include "support/TallyLine.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString Status(int n, const QString& db)
{
    return QString::number(n) + QStringLiteral(" Record(s) imported in to ") + db;
}

ImportOutcome Import(DatabaseFixture& f, const QStringList& files)
{
    f.ui.QueueFiles(files);
    return ImportResume(f.session);
}

} // namespace

TEST(HostileImport, TwoGigabyteFileIsStreamedToTheResponsesAtItsEnds)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    // Sparse: a response, blank lines past the start that tells a text file
    // from a binary one, 2 GB of NUL bytes (a hole on disk), a response.
    const QString path = f.dir.File(QStringLiteral("huge.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("name=First&n=1\r\n\r\n");
        file.write(QByteArray(kMailHeadBytes, '\n'));
        ASSERT_TRUE(file.resize(qint64(2) * 1024 * 1024 * 1024));
        ASSERT_TRUE(file.seek(file.size()));
        file.write("\r\nname=Last&n=2\r\n");
    }
    const ImportOutcome outcome = Import(f, {path});
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.total, 2);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << qPrintable(f.ui.MessageTexts().join('\n'));
    EXPECT_EQ(f.Text("SELECT group_concat(Form_Name, ',') FROM Forms"),
              QStringLiteral("First,Last"));
    EXPECT_EQ(f.ui.StatusText(), Status(2, db));
}

TEST(HostileImport, AHundredMegabyteValueIsStoredWhole)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    QByteArray value(100 * 1024 * 1024, 'v');
    for (qsizetype i = 0; i < value.size(); i += 4096)
        value[i] = static_cast<char>('a' + (i / 4096) % 26);
    const QString path =
        f.dir.Write(QStringLiteral("big.txt"), "name=Big&blob=" + value + "&after=1\r\n");
    const ImportOutcome outcome = Import(f, {path});
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.total, 1);
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_EQ(f.Count("SELECT length(Field_Value) FROM Data WHERE Field_Name='blob'"),
              value.size());
    EXPECT_EQ(f.Text("SELECT hex(substr(Field_Value, 409601, 8)) FROM Data WHERE "
                     "Field_Name='blob'"),
              QString::fromLatin1(value.mid(409600, 8).toHex().toUpper()));
    EXPECT_EQ(f.Text("SELECT Field_Value FROM Data WHERE Field_Name='after'"), QStringLiteral("1"));
}

TEST(HostileImport, AResponseOfAHundredThousandFieldsIsRefusedAndTheOthersStored)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    QByteArray many = "name=Many";
    for (int i = 0; i < 100000; ++i)
        many += "&f" + QByteArray::number(i) + "=" + QByteArray::number(i);
    const QString path = f.dir.Write(QStringLiteral("many.txt"),
                                     "name=Before\r\n\r\n" + many + "\r\n\r\nname=After\r\n");
    const ImportOutcome outcome = Import(f, {path});
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.total, 2);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.contains(QStringLiteral("16384")));
    EXPECT_EQ(f.Text("SELECT group_concat(Form_Name, ',') FROM Forms"),
              QStringLiteral("Before,After"));
    EXPECT_EQ(f.ui.StatusText(), Status(2, db));
}

TEST(HostileImport, ADatabaseReplacedOrCutShortWhileOpenIsNotWrittenBlindly)
{
    for (const bool replace : {true, false}) {
        DatabaseFixture f;
        const QString db = f.CreateAndOpen();
        const QString responses =
            f.dir.Write(QStringLiteral("r.txt"), "name=Ann\r\n\r\nname=Bob\r\n");
        if (replace) {
            const QString other = f.Create(QStringLiteral("other.fdb"));
            ASSERT_TRUE(QFile::remove(db));
            ASSERT_TRUE(QFile::rename(other, db));
        } else {
            QFile file(db);
            ASSERT_TRUE(file.resize(0));
        }
        const ImportOutcome outcome = Import(f, {responses});
        EXPECT_TRUE(outcome.failed) << replace;
        ASSERT_FALSE(f.ui.messages.isEmpty());
        EXPECT_TRUE(f.ui.messages[0].text.startsWith(
            QStringLiteral("WriteRecord: Error saving Record to the database: ")))
            << qPrintable(f.ui.messages[0].text);
        // Nothing is counted as imported that did not reach the file.
        EXPECT_EQ(f.ui.statusTexts.value(1), Status(0, db));
    }
}

TEST(HostileImport, AFullDiskStopsTheImportWithTheReasonAndKeepsWholeRecords)
{
    DatabaseFixture f;
    const QString db = f.Create();
    QByteArray responses;
    for (int r = 0; r < 4000; ++r) {
        responses += "name=Person+" + QByteArray::number(r);
        for (int k = 0; k < 10; ++k)
            responses += "&field" + QByteArray::number(k) + "=" + QByteArray(60, 'x');
        responses += "\r\n\r\n";
    }
    const QString path = f.dir.Write(QStringLiteral("many.txt"), responses);
    // The command line's import in a shell whose files may not grow past
    // 1 MB (ulimit counts 512-byte blocks), the size-limit signal ignored so
    // that writes fail with "File too large" as on a full disk.
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("trap '' XFSZ; ulimit -f 2048; exec \"$0\" \"$@\""),
                 QStringLiteral(TALLOWMERE_CLI), QStringLiteral("import"), db, path});
    ASSERT_TRUE(shell.waitForFinished(120000));
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    EXPECT_EQ(shell.exitCode(), 1) << qPrintable(err);
    EXPECT_TRUE(err.contains(QStringLiteral("WriteRecord: Error saving Record to the database: ")))
        << qPrintable(err);
    // The engine's text with the system's reason.
    EXPECT_TRUE(err.contains(QStringLiteral("(File too large)"))) << qPrintable(err);

    // What was stored is whole: every record has all its eleven fields, and
    // the status text counts exactly those.
    ASSERT_TRUE(OpenResumeDatabase(f.session, db)) << qPrintable(f.ui.MessageTexts().join('\n'));
    const int stored = f.Count("SELECT count(*) FROM Forms");
    EXPECT_GT(stored, 0);
    EXPECT_LT(stored, 4000);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), stored * 11);
    EXPECT_EQ(f.Count("SELECT count(*) FROM (SELECT FormID FROM Data GROUP BY FormID "
                      "HAVING count(*) <> 11)"),
              0);
    EXPECT_EQ(f.Text("PRAGMA integrity_check"), QStringLiteral("ok"));
    // The tally counts every response read: those of the group the disk
    // refused, and the one it stopped at, failed.
    const QList<QByteArray> lines = shell.readAllStandardOutput().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(QString::fromUtf8(lines[0]),
              QString::number(stored) + QStringLiteral(" Record(s) imported in to ") + db);
    const int read = lines[1].left(lines[1].indexOf(' ')).toInt();
    EXPECT_GT(read, stored);
    EXPECT_EQ(lines[1] + '\n', TallyLine(stored, stored, 0, 0, read - stored));
}

#include "../database/DatabaseFixture.h"
#include "database/RecordWriter.h"
#include "responses/ResponseImport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString Status(int n, const QString& db)
{
    return QString::number(n) + QStringLiteral(" Record(s) imported in to ") + db;
}

} // namespace

TEST(ImportResume, DialogAndCancel)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    f.ui.QueueCancel();
    const ImportOutcome outcome = ImportResume(f.session);
    EXPECT_TRUE(outcome.cancelled);
    ASSERT_EQ(f.ui.openRequests.size(), 1);
    const FileDialogRequest& r = f.ui.openRequests[0];
    EXPECT_EQ(r.title, QStringLiteral("Select response file(s) to import..."));
    EXPECT_EQ(r.filters, (QList<FileFilter>{{"All Files (*.*)", "*.*"},
                                            {"Mail messages (*.eml *.emlx *.mbox *.mbx)",
                                             "*.eml;*.emlx;*.mbox;*.mbx"}}));
    EXPECT_EQ(r.proposedName, QStringLiteral("*.*"));
    EXPECT_TRUE(r.multipleSelection);
    EXPECT_EQ(f.ui.statusTexts, QStringList{"Record import cancelled"});
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
}

TEST(ImportResume, ManyFilesInOrderWithTheirMessages)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    const QString two = f.dir.Write(QStringLiteral("two.txt"),
                                    "From: someone\r\n\r\nname=Ann&age=30\r\n\r\n"
                                    "name=Bob&city=Paris%0D%0ALondon\r\n\r\nThanks, bye\r\n");
    const QString prose =
        f.dir.Write(QStringLiteral("prose.txt"), "Dear all,\r\nnothing here.\r\n");
    const QString blank = f.dir.Write(QStringLiteral("blank.txt"), "name=&mail=\r\n");
    const QString empty = f.dir.Write(QStringLiteral("empty.txt"), QByteArray());
    int reloaded = -1;
    qint64 current = -1;
    QObject::connect(&f.session.Events, &SessionEvents::SummaryReloaded,
                     [&](int n) { reloaded = n; });
    QObject::connect(&f.session.Events, &SessionEvents::SummaryCurrentRowChanged,
                     [&](qint64 id) { current = id; });
    f.ui.QueueFiles({two, prose, blank, empty});
    const ImportOutcome outcome = ImportResume(f.session);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.total, 3);
    EXPECT_EQ(f.ui.MessageTexts(),
              (QStringList{"No valid Record in file \r\n" + QFileInfo(prose).absoluteFilePath(),
                           "No valid Record in file \r\n" + QFileInfo(empty).absoluteFilePath()}));
    EXPECT_EQ(f.ui.statusTexts, (QStringList{"Importing records in to  " + db, Status(3, db)}));
    EXPECT_EQ(f.ui.yields, 1);
    EXPECT_EQ(f.ui.busyDepth, 0);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 3);
    EXPECT_EQ(f.Count("SELECT count(DISTINCT Form_Date) FROM Forms"), 1);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms WHERE File_Name=(SELECT File_Name FROM Forms "
                      "WHERE FormID=1)"),
              2);
    EXPECT_EQ(f.Text("SELECT Form_Date FROM Forms WHERE FormID=1"),
              QFileInfo(two).lastModified().date().toString(Qt::ISODate));
    EXPECT_EQ(f.Text("SELECT Field_Value FROM Data WHERE Field_Name='city'"),
              QStringLiteral("Paris\r\nLondon"));
    // A response whose values are all empty is still a record.
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data WHERE FormID=3"), 2);
    EXPECT_EQ(f.session.Database.CurrentFieldNames.List(),
              QStringLiteral("\r\nname\r\nage\r\ncity\r\nmail\r\n"));
    EXPECT_EQ(reloaded, 3);
    EXPECT_EQ(current, 3);
    EXPECT_EQ(f.session.Database.RecordState & 0x17, 0);
}

TEST(ImportResume, UnreadableFileStopsTheImportAndKeepsEarlierRecords)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    const QString good = f.dir.Write(QStringLiteral("good.txt"), "a=1\r\n\r\na=2\r\n");
    const QString missing = f.dir.File(QStringLiteral("missing.txt"));
    const QString later = f.dir.Write(QStringLiteral("later.txt"), "a=3\r\n");
    f.ui.QueueFiles({good, missing, later});
    const ImportOutcome outcome = ImportResume(f.session);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.total, 2);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith("Error reading Record from " + missing + ": "));
    EXPECT_EQ(f.ui.statusTexts.last(), Status(2, db));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 2);
    // The viewer shows the last record stored, read back from the file.
    EXPECT_EQ(f.session.Tables.Header(0), QStringLiteral("2"));
    EXPECT_EQ(f.session.Tables.Field(0, RecordTables::FieldValueColumn), QStringLiteral("2"));
}

TEST(ImportResume, AWriteFailureStopsWithOneMessage)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    f.Db().exec("CREATE TRIGGER refuse BEFORE INSERT ON Data WHEN NEW.Field_Value = 'bad' "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const QString file = f.dir.Write(QStringLiteral("r.txt"), "a=1\r\n\r\na=bad\r\n\r\na=3\r\n");
    f.ui.QueueFiles({file});
    const ImportOutcome outcome = ImportResume(f.session);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.total, 1);
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"WriteRecord: Error saving Record to the database: refused"});
    EXPECT_EQ(f.ui.statusTexts.last(), Status(1, db));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), 1);
}

TEST(ImportResume, ManyRecordsSpanSeveralCommitGroups)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    QByteArray text;
    const int records = WriteBatch::kRecords * 2 + 7;
    for (int i = 0; i < records; ++i)
        text += "n=" + QByteArray::number(i) + "&v=x\r\n\r\n";
    f.ui.QueueFiles({f.dir.Write(QStringLiteral("many.txt"), text)});
    EXPECT_EQ(ImportResume(f.session).total, records);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), records);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), records * 2);
    EXPECT_EQ(f.ui.statusTexts.last(), Status(records, db));
    // Nothing is left uncommitted.
    SQLite::Database other(db.toStdString(), SQLite::OPEN_READONLY);
    EXPECT_EQ(other.execAndGet("SELECT count(*) FROM Forms").getInt(), records);
}

TEST(ImportResume, SavedMailAndRefusedFiles)
{
    DatabaseFixture f;
    const QString db = f.CreateAndOpen();
    const QString data = QStringLiteral(TALLOWMERE_TEST_DATA "/");
    const QString mbox = QFileInfo(data + "three.mbox").absoluteFilePath();
    const QString msg = QFileInfo(data + "outlook.msg").absoluteFilePath();
    const QString eml = QFileInfo(data + "gmail-base64.eml").absoluteFilePath();
    f.ui.QueueFiles({mbox, msg, eml});
    const ImportOutcome outcome = ImportResume(f.session);
    // The refused file is reported and the import goes on.
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.refused, 1);
    EXPECT_EQ(outcome.total, 4);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith("Cannot read Outlook message files \r\n" + msg));
    EXPECT_EQ(f.ui.statusTexts.last(), Status(4, db));
    EXPECT_EQ(f.Text("SELECT group_concat(Form_Date || ' ' || Form_Name || ' ' || File_Name, '|') "
                     "FROM (SELECT * FROM Forms ORDER BY FormID)"),
              "2025-01-07 Ann " + mbox + "#1|2025-01-08 Bob " + mbox + "#2|" +
                  QFileInfo(mbox).lastModified().date().toString(Qt::ISODate) + " Cy " + mbox +
                  "#3|2024-11-02 \u0141ukasz Nowak " + eml);
    EXPECT_EQ(f.Text("SELECT Field_Value FROM Data WHERE Field_Name='city' AND FormID=2"),
              QStringLiteral("Z\u00fcrich"));
}

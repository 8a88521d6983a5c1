#include "DatabaseFixture.h"
#include "database/DatabaseCompaction.h"
#include "database/RecordDeletion.h"
#include "database/RecordWriter.h"
#include "session/RecordChooser.h"
#include "session/RecordSelection.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using R = RecordTables;

// Answers the Select Records dialog with the rows given.
struct RowsChooser : RecordChooser {
    RowsChooser(Session& s, std::vector<qint64> rows) : session(s), rows(std::move(rows)) {}
    void ShowSelectDialog(const QString&) override
    {
        session.Selection = {RecordSelection::kSelectedRows, 0};
    }
    std::vector<qint64> SelectedSummaryRows() const override { return rows; }
    Session& session;
    std::vector<qint64> rows;
};

void Store(DatabaseFixture& f, const QString& name, const QString& value)
{
    RecordTables& t = f.session.Tables;
    t.ClearRecordTables();
    t.PutArrayElement(R::kHeaderTable, R::NameColumn, name);
    t.PutArrayElement(R::kHeaderTable, R::NotesColumn, name + QStringLiteral(" notes"));
    t.CurrentRow[R::kFieldTable] = 0;
    t.PutArrayElement(R::kFieldTable, R::FieldNameColumn, QStringLiteral("message"));
    t.PutArrayElement(R::kFieldTable, R::FieldValueColumn, value);
    f.session.Database.RecordState = DatabaseState::NewRecord;
    ASSERT_TRUE(WriteResumes(f.session, 1));
    f.session.Database.RecordState = 0;
}

// The database file and its write-ahead log, as they lie on the disk.
QByteArray FileBytes(const QString& path)
{
    QByteArray bytes;
    for (const QString& name : {path, path + QStringLiteral("-wal"), path + "-journal"}) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll();
    }
    return bytes;
}

} // namespace

TEST(ErasedData, DeletedRecordsLeaveNoTextInTheFileOrItsLog)
{
    DatabaseFixture f;
    const QString path = f.CreateAndOpen();
    // Long values reach overflow pages too.
    const QStringList gone = {QStringLiteral("Zyxwv-Quartz-1"), QStringLiteral("Zyxwv-Quartz-2"),
                              QStringLiteral("Zyxwv-Quartz-3") + QString(5000, QLatin1Char('q'))};
    Store(f, QStringLiteral("Keep-Marigold"), QStringLiteral("Keep-Marigold value"));
    for (const QString& marker : gone)
        Store(f, marker.left(14) + QStringLiteral(" name"), marker + QStringLiteral(" value"));
    ASSERT_TRUE(ReloadSummary(f.session, std::nullopt));
    const QByteArray before = FileBytes(path);
    for (const QString& marker : gone)
        ASSERT_TRUE(before.contains(marker.left(14).toUtf8())) << qPrintable(marker.left(14));

    f.ui.QueueAnswer(MessageAnswer::Yes);
    RowsChooser chooser(f.session, {2, 3, 4});
    ASSERT_EQ(DeleteResumes(f.session, chooser).deleted, 3);

    const QByteArray after = FileBytes(path);
    EXPECT_TRUE(after.contains("Keep-Marigold value"));
    EXPECT_FALSE(after.contains("Zyxwv")) << "deleted text is still readable";
    EXPECT_FALSE(after.contains(QByteArray(100, 'q')));
    EXPECT_EQ(f.Text("SELECT What || ' ' || Records FROM ChangeLog WHERE Kind = 'delete'"),
              QStringLiteral("3 record(s) deleted 2-4"));
}

TEST(CompactDatabase, RefusedWithoutAWritableDatabaseAndSaysTheSizes)
{
    DatabaseFixture f;
    EXPECT_FALSE(CompactOpenDatabase(f.session));
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{"No database is open."});

    const QString path = f.Create();
    f.session.Database.OpenAccess = DatabaseAccess::ReadOnly;
    ASSERT_TRUE(OpenResumeDatabase(f.session, path));
    f.ui.messages.clear();
    EXPECT_FALSE(CompactOpenDatabase(f.session));
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"The database is open for reading only: it cannot be compacted."});

    f.session.Database.OpenAccess = DatabaseAccess::ReadWrite;
    ASSERT_TRUE(OpenResumeDatabase(f.session, path));
    for (int i = 0; i < 50; ++i)
        Store(f, QStringLiteral("Person %1").arg(i), QString(2000, QLatin1Char('x')));
    f.Db().exec("DELETE FROM Forms");
    f.ui.messages.clear();
    const qint64 full = QFile(path).size() + QFile(path + "-wal").size();
    EXPECT_TRUE(CompactOpenDatabase(f.session));
    ASSERT_EQ(f.ui.MessageTexts().size(), 1);
    EXPECT_TRUE(f.ui.MessageTexts()[0].startsWith(QStringLiteral("Database compacted: ")));
    EXPECT_TRUE(f.ui.MessageTexts()[0].endsWith(" after (" + path + ")"));
    EXPECT_LT(QFile(path).size(), full / 2);
    EXPECT_EQ(QFile(path + "-wal").size(), 0);
}

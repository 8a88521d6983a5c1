#include "DatabaseFixture.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"

#include <gtest/gtest.h>

namespace {

using R = RecordTables;

void SetRecord(Session& s, const QStringList& header, const QList<QStringList>& entries)
{
    s.Tables.ClearRecordTables();
    for (int i = 0; i < header.size(); ++i)
        s.Tables.PutArrayElement(R::kHeaderTable, i + 1, header[i]);
    for (int row = 0; row < entries.size(); ++row) {
        s.Tables.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
        for (int col = 0; col < entries[row].size(); ++col)
            s.Tables.PutArrayElement(R::kFieldTable, col, entries[row][col]);
    }
    s.Tables.CurrentRow[R::kFieldTable] = 0;
}

QStringList DataRows(DatabaseFixture& f, qint64 formId)
{
    QStringList rows;
    SQLite::Statement q(f.Db(), "SELECT DataID, Field_Name, Field_Value FROM Data WHERE FormID=? "
                                "ORDER BY DataID");
    q.bind(1, static_cast<int64_t>(formId));
    while (q.executeStep())
        rows.append(QString::fromUtf8(q.getColumn(0).getText()) + ":" +
                    QString::fromUtf8(q.getColumn(1).getText()) + "=" +
                    QString::fromUtf8(q.getColumn(2).getText()));
    return rows;
}

qint64 Insert(DatabaseFixture& f, const QStringList& header, const QList<QStringList>& entries)
{
    SetRecord(f.session, header, entries);
    f.session.Database.RecordState = DatabaseState::NewRecord;
    EXPECT_TRUE(WriteResumes(f.session, 1)) << f.ui.MessageTexts().join("|").toStdString();
    f.session.Database.RecordState = 0;
    return f.session.Tables.Header(0).toLongLong();
}

} // namespace

TEST(WriteResumes, InsertsHeaderAndEntriesAndReadsThemBack)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    const qint64 id = Insert(f, {"Ann", "a note", "3/4/2024 14:30", "/tmp/r.txt"},
                             {{"", "name", "Ann"}, {"", "age", "30"}, {"", "empty", ""}});
    EXPECT_EQ(id, 1);
    EXPECT_EQ(f.session.Tables.Field(0, R::FieldFormIdColumn), QStringLiteral("1"));
    EXPECT_EQ(f.Text("SELECT Form_Date FROM Forms"), QStringLiteral("2024-03-04"));
    EXPECT_EQ(f.Text("SELECT typeof(Field_Value) FROM Data WHERE Field_Name='age'"),
              QStringLiteral("text"));
    EXPECT_EQ(DataRows(f, 1), (QStringList{"1:name=Ann", "2:age=30", "3:empty="}));
    EXPECT_EQ(f.session.Database.RecordCursor.Bookmark(), 1);

    int enabled = -1;
    QObject::connect(&f.session.Events, &SessionEvents::ValueBoxEnabled,
                     [&](bool on) { enabled = on ? 1 : 0; });
    ASSERT_TRUE(ReadResumes(f.session));
    const RecordTables& t = f.session.Tables;
    EXPECT_EQ(t.Header(0), QStringLiteral("1"));
    EXPECT_EQ(t.Header(1), QStringLiteral("Ann"));
    EXPECT_EQ(t.Header(2), QStringLiteral("a note"));
    EXPECT_EQ(t.Header(3), QStringLiteral("3/4/2024"));
    EXPECT_EQ(t.FieldCount(), 3);
    EXPECT_EQ(t.Field(1, R::DataIdColumn), QStringLiteral("2"));
    EXPECT_EQ(t.Field(1, R::FieldNameColumn), QStringLiteral("age"));
    EXPECT_EQ(t.Field(1, R::FieldValueColumn), QStringLiteral("30"));
    EXPECT_EQ(t.Field(2, R::FieldFormIdColumn), QStringLiteral("1"));
    EXPECT_EQ(t.CurrentRow[R::kFieldTable], 0);
    EXPECT_EQ(enabled, 1);
}

TEST(WriteResumes, ConversionTable)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    const QString longName(300, QLatin1Char('n'));
    const QString longSource(260, QLatin1Char('s'));
    Insert(f, {"", "", "", longSource}, {{"", longName, QString(70000, QLatin1Char('v'))}});
    EXPECT_EQ(f.Text("SELECT File_Name FROM Forms"), longSource.left(255));
    EXPECT_EQ(f.Text("SELECT Field_Name FROM Data"), longName.left(255));
    EXPECT_EQ(f.Count("SELECT length(Field_Value) FROM Data"), 70000);
    EXPECT_EQ(f.Count("SELECT Form_Date IS NULL FROM Forms"), 1); // blank date: Null
    // The field-names list keeps the whole name.
    EXPECT_EQ(f.session.Database.CurrentFieldNames.List(), "\r\n" + longName + "\r\n");

    // An invalid date is no error: a new row keeps Null, an edited one its date.
    Insert(f, {"x", "", "not a date", ""}, {});
    EXPECT_EQ(f.Count("SELECT Form_Date IS NULL FROM Forms WHERE FormID=2"), 1);
    SetRecord(f.session, {"x", "", "12/31/1999", ""}, {});
    f.session.Database.RecordState = DatabaseState::EditRecord;
    ASSERT_TRUE(WriteResumes(f.session, 0));
    EXPECT_EQ(f.Text("SELECT Form_Date FROM Forms WHERE FormID=2"), QStringLiteral("1999-12-31"));
    SetRecord(f.session, {"y", "", "31/31/31", ""}, {});
    ASSERT_TRUE(WriteResumes(f.session, 0));
    EXPECT_EQ(f.Text("SELECT Form_Date FROM Forms WHERE FormID=2"), QStringLiteral("1999-12-31"));
    EXPECT_EQ(f.Text("SELECT Form_Name FROM Forms WHERE FormID=2"), QStringLiteral("y"));
    SetRecord(f.session, {"y", "", "  ", ""}, {});
    ASSERT_TRUE(WriteResumes(f.session, 0));
    EXPECT_EQ(f.Count("SELECT Form_Date IS NULL FROM Forms WHERE FormID=2"), 1);
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(WriteResumes, LongTextsAreCutBetweenCharacters)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    const QString n254(254, QLatin1Char('n'));
    const QString emojis255 = emoji.repeated(255);
    const struct {
        QString given, stored;
    } cases[] = {
        {n254 + emoji + "tail", n254 + emoji},
        {n254 + emoji, n254 + emoji},
        {emojis255 + "x", emojis255},
        {QString(253, QLatin1Char('n')) + emoji + emoji + "x",
         QString(253, QLatin1Char('n')) + emoji + emoji},
    };
    for (const auto& c : cases) {
        const qint64 id = Insert(f, {"", "", "", c.given}, {{"", c.given, ""}});
        SQLite::Statement q(f.Db(), "SELECT File_Name, (SELECT Field_Name FROM Data WHERE "
                                    "Data.FormID=Forms.FormID) FROM Forms WHERE FormID=?");
        q.bind(1, static_cast<int64_t>(id));
        ASSERT_TRUE(q.executeStep());
        EXPECT_EQ(QString::fromUtf8(q.getColumn(0).getText()), c.stored);
        EXPECT_EQ(QString::fromUtf8(q.getColumn(1).getText()), c.stored);
    }
}

TEST(WriteResumes, DataIdRulesOnEdit)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    Insert(f, {"r"}, {{"", "a", "1"}, {"", "b", "2"}});
    ASSERT_TRUE(ReadResumes(f.session));
    f.session.Database.RecordState = DatabaseState::EditRecord;

    // Values only: every DataID stays.
    f.session.Tables.CurrentRow[R::kFieldTable] = 1;
    f.session.Tables.PutArrayElement(R::kFieldTable, R::FieldValueColumn, QStringLiteral("two"));
    ASSERT_TRUE(WriteResumes(f.session, 1));
    EXPECT_EQ(DataRows(f, 1), (QStringList{"1:a=1", "2:b=two"}));

    // An entry without a DataID anywhere renumbers them all in entry order.
    f.session.Tables.CurrentRow[R::kFieldTable] = 1;
    f.session.Tables.InsertTableRow(R::kFieldTable);
    f.session.Tables.PutArrayElement(R::kFieldTable, R::FieldNameColumn, QStringLiteral("mid"));
    f.session.Tables.PutArrayElement(R::kFieldTable, R::FieldValueColumn, QStringLiteral("m"));
    ASSERT_TRUE(WriteResumes(f.session, 1));
    EXPECT_EQ(DataRows(f, 1), (QStringList{"3:a=1", "4:mid=m", "5:b=two"}));

    // An entry removed in memory is deleted from the file.
    ASSERT_TRUE(ReadResumes(f.session));
    f.session.Tables.CurrentRow[R::kFieldTable] = 0;
    f.session.Tables.RemoveTableRow(R::kFieldTable);
    ASSERT_TRUE(WriteResumes(f.session, 1));
    EXPECT_EQ(DataRows(f, 1), (QStringList{"4:mid=m", "5:b=two"}));

    // No entries at all delete every row; writeFields 0 leaves rows alone.
    f.session.Tables.ClearRecordTables();
    f.session.Tables.PutArrayElement(R::kHeaderTable, R::NameColumn, QStringLiteral("renamed"));
    ASSERT_TRUE(WriteResumes(f.session, 0));
    EXPECT_EQ(DataRows(f, 1).size(), 2);
    EXPECT_EQ(f.Text("SELECT Form_Name FROM Forms"), QStringLiteral("renamed"));
    ASSERT_TRUE(WriteResumes(f.session, 1));
    EXPECT_TRUE(DataRows(f, 1).isEmpty());
    ASSERT_TRUE(ReadResumes(f.session));
    EXPECT_EQ(f.session.Tables.FieldCount(), 0);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
}

TEST(WriteResumes, FieldNamesListKeepsFirstSpellingInOrder)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    int changes = 0;
    QObject::connect(&f.session.Events, &SessionEvents::FieldNamesChanged, [&] { ++changes; });
    Insert(f, {"1"}, {{"", "Name", ""}, {"", "E-mail", ""}});
    Insert(f, {"2"}, {{"", "NAME", ""}, {"", "city", ""}, {"", "e-MAIL", ""}});
    Insert(f, {"3"}, {{"", "city", ""}});
    const QString expected = QStringLiteral("\r\nName\r\nE-mail\r\ncity\r\n");
    EXPECT_EQ(f.session.Database.CurrentFieldNames.List(), expected);
    EXPECT_EQ(f.Text("SELECT Value FROM Info WHERE Key='FieldNamesList'"), expected);
    EXPECT_EQ(changes, 2);
    // A name that is a part of a listed one is still added.
    Insert(f, {"4"}, {{"", "Nam", ""}});
    EXPECT_EQ(f.Text("SELECT Value FROM Info WHERE Key='FieldNamesList'"), expected + "Nam\r\n");
}

TEST(WriteResumes, AFailedRecordLeavesNothingAndEarlierRecordsStay)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    Insert(f, {"good"}, {{"", "a", "1"}});
    // A trigger makes the engine refuse the second entry of the next record.
    f.Db().exec("CREATE TRIGGER refuse BEFORE INSERT ON Data WHEN NEW.Field_Name = 'bad' "
                "BEGIN SELECT RAISE(ABORT, 'value refused'); END");
    SetRecord(f.session, {"broken"}, {{"", "fine", "1"}, {"", "bad", "2"}});
    f.session.Database.RecordState = DatabaseState::NewRecord;
    EXPECT_FALSE(WriteResumes(f.session, 1));
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"WriteRecord: Error saving Record to the database: value refused"});
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), 1);
    EXPECT_EQ(f.session.Tables.Header(0), QString()); // a retry inserts again
    EXPECT_EQ(f.session.Database.CurrentFieldNames.List(), QStringLiteral("\r\na\r\n"));
    EXPECT_EQ(f.Text("SELECT Value FROM Info WHERE Key='FieldNamesList'"),
              QStringLiteral("\r\na\r\n"));
    EXPECT_EQ(f.session.Database.RecordCursor.Count(), 1);
}

TEST(ReadResumes, NullDateEmptyRecordAndNewResume)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    Insert(f, {"bare"}, {});
    int enabled = -1;
    QObject::connect(&f.session.Events, &SessionEvents::ValueBoxEnabled,
                     [&](bool on) { enabled = on ? 1 : 0; });
    ASSERT_TRUE(ReadResumes(f.session));
    EXPECT_EQ(f.session.Tables.Header(3), QString());
    EXPECT_EQ(f.session.Tables.FieldCount(), 0);
    EXPECT_EQ(enabled, 0);

    ASSERT_TRUE(NewResume(f.session));
    EXPECT_EQ(f.session.Tables.Header(0), QString());
    EXPECT_EQ(f.session.Tables.Header(1), QString());

    f.session.Database.RecordCursor.MoveNext(); // past the last record
    EXPECT_FALSE(ReadResumes(f.session));
    EXPECT_EQ(f.ui.MessageTexts().last(),
              QStringLiteral("ReadRecords: Error Reading/Displaying Record: No current record."));
}

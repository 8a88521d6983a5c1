#include "DatabaseFixture.h"
#include "database/RawRecord.h"
#include "database/RecordReader.h"
#include "database/RecordStream.h"
#include "database/RecordWriter.h"

#include <gtest/gtest.h>

namespace {

using R = RecordTables;

const QString kNotStored =
    QStringLiteral("ReadRecords: Error Reading/Displaying Record: No current record.");
const QString kMoreNotStored =
    QStringLiteral("ReadRecords: %1 more record(s) no longer stored were skipped");

// Everything the record tables hold, as one text per record.
std::string Snapshot(const RecordTables& t)
{
    QString s = QStringLiteral("rows=%1 cur=%2 |").arg(t.RowCount[2]).arg(t.CurrentRow[2]);
    for (int c = 0; c <= t.ColumnCount[1]; ++c)
        s += t.Header(c) + QLatin1Char('|');
    for (int row = 0; row < t.FieldCount(); ++row) {
        s += QStringLiteral("\n");
        for (int c = 0; c <= t.ColumnCount[2]; ++c)
            s += t.Field(row, c) + QLatin1Char('|');
    }
    return s.toStdString();
}

// The same record in UTF-8: the tables' texts written out, or a raw
// record's bytes, cell by cell.
std::string Utf8Snapshot(const RecordTables& t)
{
    std::string s = "rows=" + std::to_string(t.FieldCount()) + " |";
    for (int c = 0; c <= t.ColumnCount[1]; ++c)
        s += t.Header(c).toStdString() + '|';
    for (int row = 0; row < t.FieldCount(); ++row) {
        s += '\n';
        for (int c = 0; c <= t.ColumnCount[2]; ++c)
            s += t.Field(row, c).toStdString() + '|';
    }
    return s;
}

std::string Utf8Snapshot(const RawRecord& r)
{
    std::string s = "rows=" + std::to_string(r.FieldCount()) + " |";
    for (int c = 0; c <= RecordTables().ColumnCount[1]; ++c)
        s += r.Header(c).toByteArray().toStdString() + '|';
    for (int row = 0; row < r.FieldCount(); ++row) {
        s += '\n';
        for (int c = 0; c <= RecordTables().ColumnCount[2]; ++c)
            s += r.Field(row, c).toByteArray().toStdString() + '|';
    }
    return s;
}

class RecordStreamTest : public ::testing::Test {
protected:
    RecordStreamTest() { f.CreateAndOpen(); }

    qint64 Insert(const QStringList& header, const QList<std::pair<QString, QString>>& fields)
    {
        RecordTables& t = f.session.Tables;
        t.ClearRecordTables();
        for (int i = 0; i < header.size(); ++i)
            t.PutArrayElement(R::kHeaderTable, i + 1, header[i]);
        for (int row = 0; row < fields.size(); ++row) {
            t.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
            t.PutArrayElement(R::kFieldTable, R::FieldNameColumn, fields[row].first);
            t.PutArrayElement(R::kFieldTable, R::FieldValueColumn, fields[row].second);
        }
        t.CurrentRow[R::kFieldTable] = 0;
        f.session.Database.RecordState = DatabaseState::NewRecord;
        EXPECT_TRUE(WriteResumes(f.session, 1)) << f.ui.MessageTexts().join("|").toStdString();
        f.session.Database.RecordState = 0;
        return t.Header(0).toLongLong();
    }

    // Many ordinary records, and among them the awkward ones.
    void MakeRecords(int ordinary)
    {
        for (int i = 1; i <= ordinary; ++i)
            Insert({QStringLiteral("Person %1").arg(i),
                    i % 3 ? QString() : QStringLiteral("a\r\nb"),
                    QStringLiteral("%1/%2/2023").arg(i % 12 + 1).arg(i % 28 + 1), "/tmp/r.txt"},
                   {{"Name", QStringLiteral("Person %1").arg(i)},
                    {"Age", QString::number(20 + i)},
                    {i % 2 ? "City" : "Town", i % 5 ? "Rome" : ""}});
        emptyRecord = Insert({"bare"}, {});
        QList<std::pair<QString, QString>> many;
        for (int i = 0; i < 3000; ++i)
            many.append({QStringLiteral("Q%1").arg(i), QStringLiteral("answer %1").arg(i)});
        bigRecord = Insert({"big", "", "1/2/2020"}, many);
        Insert({"last", "", "12/31/1999"}, {{"Name", "last"}});
        // A field added to an early record later: its DataID is above those
        // of every record after it, and it must still come last in its record.
        f.Db().exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES ('Late', 'x', 2)");
        // A date as the file may hold it: with a time of day, and not a date.
        f.Db().exec("UPDATE Forms SET Form_Date = '2021-07-09 10:30' WHERE FormID = 3");
        f.Db().exec("UPDATE Forms SET Form_Date = 'soon' WHERE FormID = 4");
        f.Db().exec("UPDATE Data SET Field_Value = NULL WHERE FormID = 5 AND Field_Name = 'Age'");
        ReloadSummary(f.session, std::nullopt);
    }

    std::vector<qint64> AllIds() { return f.session.Database.SummaryRecords.Ids(); }

    // What ReadResumes gives for each record, in UTF-8.
    std::vector<std::string> Utf8OneByOne(const std::vector<qint64>& ids)
    {
        return ReadOneByOne(ids, [](const RecordTables& t) { return Utf8Snapshot(t); });
    }

    // What a raw read visits: each record's FormID and its bytes.
    struct RawVisited {
        std::vector<qint64> ids;
        std::vector<std::string> records;
        RawRecordVisitor Visitor(int stopAfter = -1)
        {
            return [this, stopAfter](const RawRecord& record) {
                ids.push_back(record.FormId());
                records.push_back(Utf8Snapshot(record));
                return stopAfter < 0 || static_cast<int>(ids.size()) < stopAfter;
            };
        }
    };

    // What ReadResumes gives for each record, one at a time.
    template <typename Snap = std::string (*)(const RecordTables&)>
    std::vector<std::string> ReadOneByOne(const std::vector<qint64>& ids, Snap snap = &Snapshot)
    {
        std::vector<std::string> records;
        for (const qint64 id : ids) {
            EXPECT_TRUE(f.session.Database.RecordCursor.Seek(id));
            EXPECT_TRUE(ReadResumes(f.session));
            records.push_back(snap(f.session.Tables));
        }
        return records;
    }

    // What the stream visits: each record's FormID and its tables.
    struct Visited {
        std::vector<qint64> ids;
        std::vector<std::string> records;
        RecordVisitor Visitor(int stopAfter = -1)
        {
            return [this, stopAfter](qint64 id) {
                ids.push_back(id);
                records.push_back(Snapshot(*tables));
                return stopAfter < 0 || static_cast<int>(ids.size()) < stopAfter;
            };
        }
        const RecordTables* tables = nullptr;
    };
    Visited Visit()
    {
        Visited v;
        v.tables = &f.session.Tables;
        return v;
    }

    DatabaseFixture f;
    qint64 emptyRecord = 0;
    qint64 bigRecord = 0;
};

} // namespace

TEST_F(RecordStreamTest, GivesExactlyWhatReadResumesGives)
{
    MakeRecords(80);
    const std::vector<qint64> ids = AllIds();
    ASSERT_EQ(ids.size(), 83u);
    const std::vector<std::string> expected = ReadOneByOne(ids);
    // The awkward records are what they should be.
    EXPECT_NE(expected[1].substr(expected[1].rfind('\n')).find("|Late|x|2|"), std::string::npos)
        << expected[1];
    EXPECT_NE(expected[2].find("|7/9/2021|"), std::string::npos) << expected[2];
    EXPECT_NE(expected[3].find("|soon|"), std::string::npos) << expected[3];
    EXPECT_EQ(expected[static_cast<size_t>(emptyRecord - 1)].find('\n'), std::string::npos);

    RecordStream stream(f.session);
    Visited all = Visit();
    EXPECT_EQ(stream.ReadAll(all.Visitor()), StreamEnd::Done);
    EXPECT_EQ(all.ids, ids);
    EXPECT_EQ(all.records, expected);

    // Lists: dense ascending runs, a descending stretch, repeats and a
    // short run read record by record all give the same records.
    std::vector<qint64> list;
    for (qint64 id = 1; id <= 60; ++id)
        list.push_back(id);
    list.insert(list.end(), {bigRecord, emptyRecord, 7, 7, 2, 83});
    Visited listed = Visit();
    EXPECT_EQ(stream.ReadList(list, listed.Visitor()), StreamEnd::Done);
    EXPECT_EQ(listed.ids, list);
    EXPECT_EQ(listed.records, ReadOneByOne(list));

    // A range, and a sparse list that skips most of it.
    Visited range = Visit();
    EXPECT_EQ(stream.ReadRange(10, 19, range.Visitor()), StreamEnd::Done);
    EXPECT_EQ(range.records, ReadOneByOne({10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(stream.ReadRange(500, 900, range.Visitor()), StreamEnd::Done);
    EXPECT_EQ(range.ids.size(), 10u);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join("|").toStdString();
}

TEST_F(RecordStreamTest, HeaderOnlyAndStoppingOnRequest)
{
    MakeRecords(40);
    const std::vector<qint64> ids = AllIds();
    RecordStream headers(f.session, RecordParts::HeaderOnly);
    Visited v = Visit();
    std::vector<std::string> names;
    EXPECT_EQ(headers.ReadAll([&](qint64) {
        names.push_back(f.session.Tables.Header(R::NameColumn).toStdString());
        EXPECT_EQ(f.session.Tables.FieldCount(), 0);
        return true;
    }),
              StreamEnd::Done);
    ASSERT_EQ(names.size(), ids.size());
    EXPECT_EQ(names[0], "Person 1");
    EXPECT_EQ(names.back(), "last");

    RecordStream stream(f.session);
    Visited stopped = Visit();
    EXPECT_EQ(stream.ReadAll(stopped.Visitor(3)), StreamEnd::Stopped);
    EXPECT_EQ(stopped.ids, (std::vector<qint64>{1, 2, 3}));
    Visited listStopped = Visit();
    EXPECT_EQ(stream.ReadList(ids, listStopped.Visitor(2)), StreamEnd::Stopped);
    EXPECT_EQ(listStopped.ids, (std::vector<qint64>{1, 2}));
    EXPECT_EQ(f.session.Tables.Header(0), QStringLiteral("2"));
    // The viewer's cursor was not moved.
    EXPECT_EQ(f.session.Database.RecordCursor.Bookmark(), ids.back());
}

TEST_F(RecordStreamTest, RecordDeletedAfterListingIsSkippedWithTheMessage)
{
    MakeRecords(50);
    const std::vector<qint64> ids = AllIds();                     // the list is made...
    f.Db().exec("DELETE FROM Forms WHERE FormID IN (1, 20, 53)"); // ...then records go
    std::vector<qint64> expectedIds;
    for (const qint64 id : ids) {
        if (id != 1 && id != 20 && id != 53)
            expectedIds.push_back(id);
    }
    RecordStream stream(f.session);
    Visited dense = Visit();
    EXPECT_EQ(stream.ReadList(ids, dense.Visitor()), StreamEnd::Done);
    EXPECT_EQ(dense.ids, expectedIds);
    EXPECT_EQ(dense.records, ReadOneByOne(expectedIds));
    // The first missing record is shown, the others counted once.
    EXPECT_EQ(f.ui.MessageTexts(), (QStringList{kNotStored, kMoreNotStored.arg(2)}));
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);

    // Looked up one by one, and at the end of a dense run.
    f.ui.messages.clear();
    Visited sparse = Visit();
    EXPECT_EQ(stream.ReadList({20, 5, 53}, sparse.Visitor()), StreamEnd::Done);
    EXPECT_EQ(sparse.ids, std::vector<qint64>{5});
    std::vector<qint64> tail(ids.begin() + 10, ids.end());
    tail.push_back(60);
    Visited ended = Visit();
    EXPECT_EQ(stream.ReadList(tail, ended.Visitor()), StreamEnd::Done);
    EXPECT_EQ(ended.ids.size(), tail.size() - 3);
    EXPECT_EQ(f.ui.MessageTexts(),
              (QStringList{kNotStored, kMoreNotStored.arg(1), kNotStored, kMoreNotStored.arg(2)}));
}

TEST_F(RecordStreamTest, ARecordTooLargeForTheTablesEndsTheRead)
{
    MakeRecords(2);
    f.Db().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16400) "
                "INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT 'f', i, 2 FROM n");
    RecordStream stream(f.session);
    Visited v = Visit();
    EXPECT_EQ(stream.ReadAll(v.Visitor()), StreamEnd::Failed);
    EXPECT_EQ(v.ids, std::vector<qint64>{1});
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{"ReadRecords: Error reading into tables"});
    EXPECT_EQ(f.session.Tables.CurrentRow[R::kFieldTable], 0);

    f.session.Database.CurrentDatabase.reset();
    f.ui.messages.clear();
    EXPECT_EQ(stream.ReadList({1}, v.Visitor()), StreamEnd::Failed);
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"ReadRecords: Error Reading/Displaying Record: No database is open."});
}

TEST_F(RecordStreamTest, TransactionIsTheCallersWhenOneIsOpen)
{
    MakeRecords(40);
    RecordStream stream(f.session);
    // Without one, the read's own transaction is over when it returns.
    EXPECT_EQ(stream.ReadRange(1, 5, [](qint64) { return true; }), StreamEnd::Done);
    EXPECT_NO_THROW(f.Db().exec("BEGIN"));
    // Inside the caller's, the visitor deletes as it goes; nothing is
    // committed until the caller commits.
    int visited = 0;
    EXPECT_EQ(stream.ReadAll([&](qint64 id) {
        ++visited;
        SQLite::Statement remove(f.Db(), "DELETE FROM Forms WHERE FormID = ?");
        remove.bind(1, static_cast<int64_t>(id));
        remove.exec();
        return true;
    }),
              StreamEnd::Done);
    EXPECT_EQ(visited, 43);
    SQLite::Database other(f.session.Database.CurrentDatabasePath.toStdString());
    EXPECT_EQ(other.execAndGet("SELECT count(*) FROM Forms").getInt(), 43);
    f.Db().exec("COMMIT");
    EXPECT_EQ(other.execAndGet("SELECT count(*) FROM Forms").getInt(), 0);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), 0);
}

TEST_F(RecordStreamTest, RawReadHoldsTheTablesTextsInUtf8)
{
    MakeRecords(60);
    // Cells as another program may have stored them: bytes that are no
    // UTF-8, a leading byte-order mark (which reading a text drops), one in
    // the middle, a number stored as a number and one with a fraction, a
    // text the Memo column kept as text, and a date that is a number.
    f.Db().exec("UPDATE Data SET Field_Value = CAST(X'41FF42' AS TEXT) WHERE DataID = 1");
    f.Db().exec("UPDATE Data SET Field_Value = CAST(X'EFBBBF41' AS TEXT) WHERE DataID = 2");
    f.Db().exec("UPDATE Data SET Field_Value = CAST(X'41EFBBBF' AS TEXT) WHERE DataID = 4");
    f.Db().exec("UPDATE Data SET Field_Value = 2.5 WHERE DataID = 5");
    f.Db().exec("UPDATE Data SET Field_Value = -42 WHERE DataID = 7");
    f.Db().exec("UPDATE Data SET Field_Name = CAST(X'C0AF' AS TEXT) WHERE DataID = 8");
    f.Db().exec("UPDATE Forms SET Form_Name = 'Z\xc3\xbcrich \xe2\x82\xac', "
                "File_Name = CAST(X'EFBBBFEFBBBF61' AS TEXT) WHERE FormID = 6");
    f.Db().exec("UPDATE Forms SET Form_Date = 20240305 WHERE FormID = 7");
    f.Db().exec("UPDATE Forms SET Form_Date = CAST(X'32303234FF' AS TEXT) WHERE FormID = 8");
    f.Db().exec("UPDATE Forms SET Form_Date = NULL, Form_Notes = 7 WHERE FormID = 9");
    const std::vector<qint64> ids = AllIds();
    const std::vector<std::string> expected = Utf8OneByOne(ids);
    // The awkward cells are read as the tables read them, not as stored.
    EXPECT_NE(expected[0].find("A\xef\xbf\xbd"
                               "B|"),
              std::string::npos)
        << expected[0];
    EXPECT_NE(expected[5].find("|\xef\xbb\xbf"
                               "a|"),
              std::string::npos)
        << expected[5];
    EXPECT_NE(expected[1].find("|2.5|"), std::string::npos) << expected[1];

    RecordStream stream(f.session);
    RawVisited all;
    const std::string tablesBefore = Snapshot(f.session.Tables);
    EXPECT_EQ(stream.ReadAll(all.Visitor()), StreamEnd::Done);
    EXPECT_EQ(all.ids, ids);
    ASSERT_EQ(all.records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(all.records[i], expected[i]) << "record " << ids[i];
    // The tables are left alone.
    EXPECT_EQ(Snapshot(f.session.Tables), tablesBefore);

    // Lists (dense runs, repeats, records looked up one by one) and ranges.
    std::vector<qint64> list;
    for (qint64 id = 1; id <= 40; ++id)
        list.push_back(id);
    list.insert(list.end(), {bigRecord, emptyRecord, 7, 7, 2, 63});
    RawVisited listed;
    EXPECT_EQ(stream.ReadList(list, listed.Visitor()), StreamEnd::Done);
    EXPECT_EQ(listed.ids, list);
    EXPECT_EQ(listed.records, Utf8OneByOne(list));
    RawVisited range;
    EXPECT_EQ(stream.ReadRange(5, 9, range.Visitor()), StreamEnd::Done);
    EXPECT_EQ(range.records, Utf8OneByOne({5, 6, 7, 8, 9}));

    // Headers only, and a stop on request.
    RawVisited headers;
    EXPECT_EQ(RecordStream(f.session, RecordParts::HeaderOnly).ReadRange(1, 3, headers.Visitor()),
              StreamEnd::Done);
    ASSERT_EQ(headers.records.size(), 3u);
    EXPECT_EQ(headers.records[0], expected[0].substr(0, expected[0].find('\n')).replace(5, 1, "0"));
    RawVisited stopped;
    EXPECT_EQ(stream.ReadAll(stopped.Visitor(2)), StreamEnd::Stopped);
    EXPECT_EQ(stopped.ids, (std::vector<qint64>{1, 2}));
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.MessageTexts().join("|").toStdString();
}

TEST_F(RecordStreamTest, RawReadSkipsDeletedRecordsAndStopsAtOnesTooLargeForTheTables)
{
    MakeRecords(30);
    const std::vector<qint64> ids = AllIds();
    f.Db().exec("DELETE FROM Forms WHERE FormID IN (2, 31)");
    RecordStream stream(f.session);
    RawVisited read;
    EXPECT_EQ(stream.ReadList(ids, read.Visitor()), StreamEnd::Done);
    EXPECT_EQ(read.ids.size(), ids.size() - 2);
    EXPECT_EQ(read.records, Utf8OneByOne(read.ids));
    EXPECT_EQ(f.ui.MessageTexts(), (QStringList{kNotStored, kMoreNotStored.arg(1)}));

    // A record of exactly as many entries as the tables hold is read whole;
    // one more entry ends the read with the tables' message.
    f.ui.messages.clear();
    f.Db().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16381) "
                "INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT 'f', i, 3 FROM n");
    ASSERT_EQ(f.Count("SELECT count(*) FROM Data WHERE FormID = 3"), RecordTables::kMaxCapacity);
    RawVisited full;
    EXPECT_EQ(stream.ReadRange(3, 3, full.Visitor()), StreamEnd::Done);
    EXPECT_EQ(full.records, Utf8OneByOne({3}));
    f.Db().exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES ('one', 'more', 3)");
    RawVisited failed;
    EXPECT_EQ(stream.ReadAll(failed.Visitor()), StreamEnd::Failed);
    EXPECT_EQ(failed.ids, std::vector<qint64>{1});
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{"ReadRecords: Error reading into tables"});
}

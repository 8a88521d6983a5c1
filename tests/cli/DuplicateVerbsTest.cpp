#include "GuestbookDatabase.h"
#include "support/TallyLine.h"
#include "support/TempDir.h"

#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

namespace {

// Four records: 1 and 3 one person a day apart, 4 the same a week later.
QString FourRecords(TempDir& dir)
{
    const QString db = dir.File("d.fdb");
    RunCli({"create", db});
    SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
    d.exec("INSERT INTO Forms (FormID, Form_Name, Form_Notes, Form_Date) VALUES "
           "(1, 'Ann', 'one', '2024-03-01'), (2, 'Bob', NULL, '2024-03-01'), "
           "(3, 'Ann S', 'three', '2024-03-02'), (4, 'Ann', NULL, '2024-03-09')");
    d.exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES "
           "('email', 'Ann@x.org', 1), ('city', 'York', 1), ('email', 'bob@x.org', 2), "
           "('email', ' ann@X.org', 3), ('city', 'Leeds', 3), ('email', 'ANN@x.org', 4)");
    d.exec("UPDATE Info SET Value = '\r\nemail\r\ncity\r\n' WHERE Key = 'FieldNamesList'");
    return db;
}

int Count(const QString& db, const char* sql)
{
    SQLite::Database d(db.toStdString());
    return d.execAndGet(sql).getInt();
}

} // namespace

TEST(DuplicatesVerb, ListsGroupsByTheKeysGivenOrSaved)
{
    TempDir dir;
    const QString db = FourRecords(dir);
    QByteArray out, err;
    EXPECT_EQ(RunCli({"duplicates", db}, &out, &err), 1);
    EXPECT_TRUE(err.contains("No duplicate keys are saved")) << err.constData();
    EXPECT_EQ(RunCli({"duplicates", db, "--key", "EMAIL"}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, "1\tann@x.org\n\t1\t2024-03-01\tAnn\n\t3\t2024-03-02\tAnn S\n"
                   "\t4\t2024-03-09\tAnn\n1 group(s) of possible duplicates, 3 record(s)\n");
    EXPECT_EQ(RunCli({"duplicates", "--json", db, "--key", "email", "--within", "1"}, &out, &err),
              0);
    EXPECT_EQ(out, "[\n{\"key\": \"ann@x.org\", \"records\": [{\"FormID\": 1, \"Form_Date\": "
                   "\"2024-03-01\", \"Form_Name\": \"Ann\"}, {\"FormID\": 3, \"Form_Date\": "
                   "\"2024-03-02\", \"Form_Name\": \"Ann S\"}]}\n]\n");

    EXPECT_EQ(RunCli({"duplicates", db, "--key", "email,phone", "--save"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("'phone'")) << err.constData();
    EXPECT_EQ(Count(db, "SELECT count(*) FROM sqlite_master WHERE name = 'DuplicateKeys'"), 0);
    EXPECT_EQ(RunCli({"duplicates", db, "--key", "city", "--within", "x"}, &out, &err), 2);
    EXPECT_EQ(RunCli({"duplicates", db, "--within", "1", "--save"}, &out, &err), 2);

    EXPECT_EQ(RunCli({"duplicates", db, "--key", "email", "--within", "1", "--save"}, &out, &err),
              0);
    EXPECT_EQ(out, "Duplicate keys saved: email within 1 day(s)\n");
    EXPECT_EQ(RunCli({"duplicates", db}, &out, &err), 0);
    EXPECT_TRUE(out.endsWith("1 group(s) of possible duplicates, 2 record(s)\n")) << out.data();
    EXPECT_EQ(RunCli({"duplicates", db, "--key", "city"}, &out, &err), 0);
    EXPECT_EQ(out, "0 group(s) of possible duplicates, 0 record(s)\n");
}

TEST(MergeVerb, AsksMergesAndRefusesItselfOrAMissingRecord)
{
    TempDir dir;
    const QString db = FourRecords(dir);
    QByteArray out, err;
    EXPECT_EQ(RunCli({"merge", db, "1", "3"}, &out, &err), 1);
    EXPECT_EQ(out, "Merge cancelled\n");
    EXPECT_EQ(RunCli({"merge", db, "3", "3", "--yes"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("cannot be merged with itself")) << err.constData();
    EXPECT_EQ(RunCli({"merge", db, "1", "9", "--yes"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("Record 9 does not exist")) << err.constData();
    EXPECT_EQ(RunCli({"merge", db, "1", "x"}, &out, &err), 2);
    EXPECT_EQ(RunCli({"merge", db, "1"}, &out, &err), 2);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 4);

    EXPECT_EQ(RunCli({"merge", db, "3", "1", "4", "--keep", "3", "--yes"}, &out, &err), 0)
        << err.constData();
    EXPECT_EQ(out, "3 record(s) merged into record 3\n");
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms"), 2);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Data WHERE FormID IN (1, 4)"), 0);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Forms WHERE FormID = 3 AND Form_Notes = "
                        "'three' || char(13, 10) || 'one'"),
              1);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM Data WHERE FormID = 3 AND ((Field_Name = 'email' "
                        "AND Field_Value = 'ANN@x.org') OR (Field_Name = 'city' AND Field_Value "
                        "= 'Leeds'))"),
              2);
}

TEST(DuplicatesVerb, MarksTheRecordsFound)
{
    TempDir dir;
    const QString db = FourRecords(dir);
    QByteArray out, err;
    EXPECT_EQ(RunCli({"duplicates", db, "--key", "email", "--mark"}, &out, &err), 0)
        << err.constData();
    EXPECT_TRUE(out.endsWith("1 group(s) of possible duplicates, 3 record(s)\n"
                             "2 record(s) marked as possible duplicates\n"))
        << out.data();
    EXPECT_EQ(Count(db, "SELECT count(*) FROM DuplicateMarks WHERE RepeatsID = 1 AND FormID IN "
                        "(3, 4) AND Cleared = 0"),
              2);
    EXPECT_EQ(RunCli({"duplicates", db, "--key", "email", "--mark", "--save"}, &out, &err), 2);
}

TEST(ImportVerb, CountsAndMarksPossibleDuplicatesByTheSavedKeys)
{
    TempDir dir;
    const QString db = FourRecords(dir);
    QByteArray out, err;
    const QString file = dir.Write("more.txt", "email=ann%40X.org&city=Hull\r\n\r\n"
                                               "email=cy%40x.org\r\n\r\nemail=CY%40x.org\r\n");
    ASSERT_EQ(RunCli({"duplicates", db, "--key", "email", "--save"}, &out, &err), 0);
    EXPECT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    EXPECT_EQ(out, ("3 Record(s) imported in to " + db + ", 2 possible duplicate(s)\n").toUtf8() +
                       TallyLine(3, 3));
    // Only the new records are marked: 5 repeats 1, 7 repeats 6.
    SQLite::Database d(db.toStdString());
    EXPECT_EQ(d.execAndGet("SELECT group_concat(FormID || '>' || RepeatsID) FROM (SELECT * FROM "
                           "DuplicateMarks ORDER BY FormID)")
                  .getString(),
              "5>1,7>6");
}

TEST(ImportVerb, AnImportsRecordsMeetEarlierOnesByTheirDates)
{
    // The guestbook's twelve responses are a day apart: by a field all
    // share within no day, only the same response imported again repeats.
    TempDir dir;
    const QString db = dir.File("d.fdb");
    const QString guestbook = QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt");
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0);
    ASSERT_EQ(RunCli({"import", db, guestbook}, &out, &err), 0);
    ASSERT_EQ(
        RunCli({"duplicates", db, "--key", "subscribe", "--within", "0", "--save"}, &out, &err), 0);
    ASSERT_EQ(RunCli({"import", "--again", db, guestbook, guestbook}, &out, &err), 0)
        << err.constData();
    EXPECT_TRUE(out.contains(", 24 possible duplicate(s)\n")) << out.data();
    SQLite::Database d(db.toStdString());
    EXPECT_EQ(d.execAndGet("SELECT count(*) FROM DuplicateMarks WHERE RepeatsID = FormID - 12 OR "
                           "RepeatsID = FormID - 24")
                  .getInt(),
              24);
}

#include "DatabaseFixture.h"
#include "database/ChangeLog.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"
#include "platform/WriteTransaction.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

QStringList Kinds(const std::vector<ChangeLogEntry>& entries)
{
    QStringList kinds;
    for (const ChangeLogEntry& entry : entries)
        kinds.append(ChangeKindName(entry.kind));
    return kinds;
}

} // namespace

TEST(ChangeLog, KindNamesRoundTrip)
{
    QStringList names;
    for (const ChangeKind kind : AllChangeKinds()) {
        names.append(ChangeKindName(kind));
        EXPECT_EQ(ChangeKindFromName(ChangeKindName(kind).toUpper()), kind);
    }
    EXPECT_EQ(names, (QStringList{"import", "edit", "delete", "transfer", "merge", "retention",
                                  "export", "erase"}));
    EXPECT_FALSE(ChangeKindFromName(QStringLiteral("rename")));
}

TEST(ChangeLog, EntriesCommitAndRollBackWithTheirTransaction)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    InWriteTransaction(c, [&](SQLite::Database&) {
        AppendChangeLog(c, f.clock, ChangeKind::Import, QStringLiteral("2 read"),
                        QStringLiteral("1-2"));
    });
    EXPECT_THROW(InWriteTransaction(c,
                                    [&](SQLite::Database&) {
                                        AppendChangeLog(c, f.clock, ChangeKind::Delete,
                                                        QStringLiteral("lost"), QString());
                                        throw std::runtime_error("stopped");
                                    }),
                 std::runtime_error);
    const std::vector<ChangeLogEntry> entries = ReadChangeLog(c);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, ChangeKind::Import);
    EXPECT_EQ(entries[0].what, QStringLiteral("2 read"));
    EXPECT_EQ(entries[0].records, QStringLiteral("1-2"));
    EXPECT_EQ(entries[0].user, OperatingSystemUser());
    EXPECT_FALSE(entries[0].user.isEmpty());
    EXPECT_EQ(entries[0].loggedAt, f.clock.Now().toUTC());
    EXPECT_EQ(f.Text("SELECT LoggedAt FROM ChangeLog"),
              f.clock.Now().toUTC().toString(Qt::ISODate));
}

TEST(ChangeLog, FilterByKindSinceAndText)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    const QDateTime start = f.clock.Now();
    const struct {
        ChangeKind kind;
        const char* what;
    } rows[] = {{ChangeKind::Import, "3 read"},
                {ChangeKind::Edit, "Email: 5 to 9 characters"},
                {ChangeKind::Export, "HTML to out.htm"}};
    for (const auto& row : rows) {
        AppendChangeLog(c, f.clock, row.kind, QString::fromUtf8(row.what), QStringLiteral("4"));
        f.clock.Advance(60 * 60 * 1000);
    }
    const struct {
        ChangeLogFilter filter;
        QStringList kinds;
    } cases[] = {
        {{}, {"import", "edit", "export"}},
        {{ChangeKind::Edit, {}, {}}, {"edit"}},
        {{std::nullopt, start.addSecs(3600), {}}, {"edit", "export"}},
        {{std::nullopt, {}, QStringLiteral("html")}, {"export"}},
        {{std::nullopt, {}, OperatingSystemUser()}, {"import", "edit", "export"}},
        {{ChangeKind::Import, start.addSecs(3600), {}}, {}},
        {{std::nullopt, {}, QStringLiteral("%")}, {}},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Kinds(ReadChangeLog(c, test.filter)), test.kinds)
            << test.filter.text.toStdString();
}

TEST(ChangeLog, OlderFilesGetTheTableFromAWriterOnly)
{
    DatabaseFixture f;
    const QString path = f.Create();
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        ASSERT_TRUE(db.tableExists("ChangeLog"));
        db.exec("DROP TABLE ChangeLog");
    }
    f.session.Database.OpenAccess = DatabaseAccess::ReadOnly;
    ASSERT_TRUE(OpenResumeDatabase(f.session, path));
    EXPECT_FALSE(f.Db().tableExists("ChangeLog"));
    EXPECT_TRUE(ReadChangeLog(*f.session.Database.CurrentDatabase).empty());

    f.session.Database.OpenAccess = DatabaseAccess::ReadWrite;
    ASSERT_TRUE(OpenResumeDatabase(f.session, path));
    EXPECT_TRUE(f.Db().tableExists("ChangeLog"));
    EXPECT_TRUE(f.Db().tableExists("Forms"));
}

TEST(ChangeLog, RecordsTextIsRangesOrACount)
{
    std::vector<qint64> many;
    for (qint64 id = 1; id <= 100; id += 2)
        many.push_back(id);
    const struct {
        std::vector<qint64> ids;
        const char* text;
    } cases[] = {
        {{}, "none"},
        {{7}, "7"},
        {{9, 3, 7, 8, 3}, "3, 7-9"},
        {many, "50 records, 1 to 99"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(ChangeLogRecords(test.ids), QString::fromUtf8(test.text));
}

TEST(ChangeLog, AnEditLogsTheFieldsChangedAndTheirLengthsNeverTheValues)
{
    using R = RecordTables;
    DatabaseFixture f;
    f.CreateAndOpen();
    RecordTables& t = f.session.Tables;
    t.ClearRecordTables();
    t.PutArrayElement(R::kHeaderTable, R::NameColumn, QStringLiteral("Ann"));
    const char* const fields[][2] = {{"email", "ann@x.org"}, {"phone", "0201"}};
    for (int row = 0; row < 2; ++row) {
        t.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
        t.PutArrayElement(R::kFieldTable, R::FieldNameColumn, QString::fromUtf8(fields[row][0]));
        t.PutArrayElement(R::kFieldTable, R::FieldValueColumn, QString::fromUtf8(fields[row][1]));
    }
    f.session.Database.RecordState = DatabaseState::NewRecord;
    ASSERT_TRUE(WriteResumes(f.session, 1));

    f.session.Database.RecordState = DatabaseState::EditRecord;
    ASSERT_TRUE(ReadResumes(f.session));
    t.CurrentRow[R::kFieldTable] = 0;
    t.PutArrayElement(R::kFieldTable, R::FieldValueColumn, QStringLiteral("ann.smith@x.org"));
    t.PutArrayElement(R::kHeaderTable, R::NotesColumn, QStringLiteral("seen"));
    t.CurrentRow[R::kFieldTable] = 1;
    t.RemoveTableRow(R::kFieldTable);
    ASSERT_TRUE(WriteResumes(f.session, 1));
    // Saved again unchanged: nothing to log.
    ASSERT_TRUE(WriteResumes(f.session, 1));

    const std::vector<ChangeLogEntry> entries = ReadChangeLog(*f.session.Database.CurrentDatabase);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].what, QStringLiteral("new record with 2 field(s)"));
    EXPECT_EQ(entries[1].kind, ChangeKind::Edit);
    EXPECT_EQ(entries[1].what, QStringLiteral("Form_Notes: 0 -> 4 characters; email: 9 -> 15 "
                                              "characters; phone: removed, 4 characters"));
    EXPECT_EQ(entries[1].records, QStringLiteral("1"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM ChangeLog WHERE What LIKE '%ann%' OR What LIKE "
                      "'%0201%' OR What LIKE '%seen%'"),
              0);
}

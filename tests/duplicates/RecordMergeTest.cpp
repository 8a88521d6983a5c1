#include "StoredRecords.h"
#include "database/DatabaseFixture.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateMarks.h"
#include "duplicates/RecordMerge.h"

#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

namespace {

// The record's fields in order, "name=value" joined by "|".
QString FieldsOf(DatabaseFixture& f, qint64 id)
{
    SQLite::Statement rows(f.Db(), "SELECT Field_Name || '=' || Field_Value FROM Data WHERE "
                                   "FormID = ? ORDER BY DataID");
    rows.bind(1, static_cast<int64_t>(id));
    QStringList out;
    while (rows.executeStep())
        out.append(QString::fromUtf8(rows.getColumn(0).getText()));
    return out.join(QLatin1Char('|'));
}

// Three submissions of one person: the second a day later, the third
// (the highest number) dated between them.
void ThreeSubmissions(DatabaseFixture& f)
{
    f.CreateAndOpen();
    StoreRecord(f, "2024-03-01", "first note",
                {{"name", "Ann"}, {"email", "ann@x.org"}, {"phone", "0201"}, {"colour", "red"}});
    StoreRecord(f, "2024-03-03", nullptr,
                {{"name", "Ann Smith"}, {"email", ""}, {"colour", "blue"}, {"colour", "green"}});
    StoreRecord(f, "2024-03-02", "third note",
                {{"phone", "0202"}, {"city", "Leeds"}, {"email", " "}});
}

DuplicateGroup Group(std::vector<qint64> ids)
{
    DuplicateGroup group;
    for (const qint64 id : ids)
        group.records.push_back({id, QString(), QString()});
    return group;
}

} // namespace

TEST(MergeRecords, TakesEachFieldsLatestNonEmptyValueAndKeepsEveryNote)
{
    const struct {
        std::optional<qint64> keep;
        qint64 kept;
        const char* fields;
        const char* notes;
    } cases[] = {
        {std::nullopt, 1,
         "name=Ann Smith|email=ann@x.org|phone=0202|colour=blue|colour=green|city=Leeds",
         "first note\r\nthird note"},
        {3, 3, "phone=0202|city=Leeds|email=ann@x.org|name=Ann Smith|colour=blue|colour=green",
         "third note\r\nfirst note"},
    };
    for (const auto& c : cases) {
        DatabaseFixture f;
        ThreeSubmissions(f);
        const MergeOutcome outcome =
            MergeRecords(*f.session.Database.CurrentDatabase, f.clock, {2, 3, 1}, c.keep);
        ASSERT_TRUE(outcome.merged) << outcome.error.toStdString();
        EXPECT_EQ(outcome.kept, c.kept);
        EXPECT_EQ(outcome.deleted, 2);
        EXPECT_EQ(FieldsOf(f, c.kept), QString::fromUtf8(c.fields));
        EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 1);
        EXPECT_EQ(f.Count("SELECT count(*) FROM Data WHERE FormID <> (SELECT FormID FROM Forms)"),
                  0);
        EXPECT_EQ(f.Text("SELECT Form_Notes FROM Forms"), QString::fromUtf8(c.notes));
    }
}

TEST(MergeRecords, RefusesItselfAMissingRecordAndAStrangerToKeep)
{
    DatabaseFixture f;
    ThreeSubmissions(f);
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    const struct {
        std::vector<qint64> ids;
        std::optional<qint64> keep;
        const char* error;
    } cases[] = {
        {{1, 1},
         std::nullopt,
         "Record 1 is given more than once: a record cannot be merged with itself."},
        {{1}, std::nullopt, "A merge needs at least two records."},
        {{1, 9}, std::nullopt, "Record 9 does not exist."},
        {{1, 2}, 3, "Record 3 to keep is not one of the records to merge."},
    };
    for (const auto& k : cases) {
        const MergeOutcome outcome = MergeRecords(c, f.clock, k.ids, k.keep);
        EXPECT_FALSE(outcome.merged);
        EXPECT_EQ(outcome.error, QString::fromUtf8(k.error));
    }
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 3);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data"), 11);
}

TEST(MergeRecords, AFailedWriteLeavesTheRecordsAsTheyWere)
{
    const char* const triggers[] = {
        "CREATE TRIGGER refuse BEFORE INSERT ON Data WHEN NEW.Field_Name = 'city' "
        "BEGIN SELECT RAISE(ABORT, 'value refused'); END",
        "CREATE TRIGGER refuse BEFORE DELETE ON Forms WHEN OLD.FormID = 3 "
        "BEGIN SELECT RAISE(ABORT, 'value refused'); END",
    };
    for (const char* trigger : triggers) {
        DatabaseFixture f;
        ThreeSubmissions(f);
        const QString before = FieldsOf(f, 1) + FieldsOf(f, 2) + FieldsOf(f, 3);
        f.Db().exec(trigger);
        const MergeOutcome outcome =
            MergeRecords(*f.session.Database.CurrentDatabase, f.clock, {1, 2, 3});
        EXPECT_FALSE(outcome.merged);
        EXPECT_EQ(outcome.deleted, 0);
        EXPECT_EQ(outcome.error, QStringLiteral("value refused"));
        EXPECT_EQ(FieldsOf(f, 1) + FieldsOf(f, 2) + FieldsOf(f, 3), before);
        EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 3);
        EXPECT_EQ(f.Text("SELECT Form_Notes FROM Forms WHERE FormID = 1"),
                  QStringLiteral("first note"));
    }
}

TEST(MergeRecords, ChoicesPickAFieldsRecordAndThePreviewShowsTheDefaults)
{
    DatabaseFixture f;
    ThreeSubmissions(f);
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    const MergePreview preview = PreviewMerge(c, {3, 1, 2});
    ASSERT_EQ(preview.ids, (std::vector<qint64>{1, 2, 3}));
    QStringList shown;
    for (const MergeField& field : preview.fields) {
        shown.append(QStringLiteral("%1:%2:%3:%4")
                         .arg(field.name, field.values[1])
                         .arg(field.latest)
                         .arg(field.differs ? "differs" : "same"));
    }
    EXPECT_EQ(shown.join(QLatin1Char('|')),
              QStringLiteral("name:Ann Smith:2:differs|email::1:differs|phone::3:differs|"
                             "colour:blue\ngreen:2:differs|city::3:differs"));
    EXPECT_EQ(preview.fields[4].held, (std::vector<bool>{false, false, true}));

    // The first colour and phone kept; the city left out by choosing a
    // record without one.
    const MergeOutcome outcome = MergeRecords(
        c, f.clock, {1, 2, 3}, std::nullopt,
        {{QStringLiteral("colour"), 1}, {QStringLiteral("phone"), 1}, {QStringLiteral("city"), 2}});
    ASSERT_TRUE(outcome.merged) << outcome.error.toStdString();
    EXPECT_EQ(FieldsOf(f, 1),
              QStringLiteral("name=Ann Smith|email=ann@x.org|phone=0201|colour=red"));
}

TEST(MergeRecords, MarksOfOtherRecordsFollowTheKeptRecord)
{
    DatabaseFixture f;
    ThreeSubmissions(f);
    StoreRecord(f, "2024-03-04", nullptr, {{"email", "ann@x.org"}});
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    MarkDuplicateGroups(c, {Group({1, 2, 4})});
    // Keeping the later record of 1 and 2: record 4, outside the merge,
    // now repeats the kept record instead of the deleted first one.
    ASSERT_TRUE(MergeRecords(c, f.clock, {1, 2}, 2).merged);
    EXPECT_EQ(LoadDuplicateMarks(c), (std::vector<DuplicateMark>{{4, 2, false}}));
}

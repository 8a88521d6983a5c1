#include "privacy/PrivacyFixture.h"
#include "privacy/RetentionRun.h"
#include "privacy/RetentionSetting.h"
#include "database/ChangeLog.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Action = RetentionRule::Action;

// Today is 2024-03-05 (the fixture's clock); 2024 is a leap year, so 365
// days back is 2023-03-06, not 2023-03-05.
struct Dated : PrivacyFixture {
    Dated()
    {
        Add("a", "", "2023-03-04", {{"email", "a@example.org"}, {"city", "Oslo"}}); // 367 days
        Add("b", "", "2023-03-05T23:59", {{"email", "b@example.org"}});             // 366 days
        Add("c", "", "2023-03-06", {{"email", "c@example.org"}});                   // 365: kept
        Add("d", "", "2024-02-29", {{"email", "d@example.org"}});
        Add("e", "", nullptr, {{"email", "e@example.org"}});   // no date: never past
        Add("f", "", "1st May", {{"email", "f@example.org"}}); // not read as a date
        Add("g", "", "2020-01-01", {{"email", ""}, {"city", "Rome"}});
        Reopen();
    }
    std::vector<qint64> Plan(const RetentionRule& rule)
    {
        return PlanRetention(*session.Database.CurrentDatabase, rule, clock.Now().date()).ids;
    }
};

} // namespace

TEST(Retention, PastRecordsAreThoseMoreThanThePeriodOldByRecordDate)
{
    Dated f;
    const struct {
        RetentionRule rule;
        std::vector<qint64> past;
    } cases[] = {
        {{365, Action::Delete, {}}, {1, 2, 7}},
        {{366, Action::Delete, {}}, {1, 7}},
        {{1, Action::Delete, {}}, {1, 2, 3, 4, 7}},
        // Masking passes over records with nothing left to blank.
        {{365, Action::Mask, {"email"}}, {1, 2}},
        {{365, Action::Mask, {"email", "city"}}, {1, 2, 7}},
        {{0, Action::Delete, {}}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.Plan(c.rule), c.past) << qPrintable(DescribeRetentionRule(c.rule));
}

TEST(Retention, DeletingTakesTheFieldsAndMaskingKeepsTheRecord)
{
    Dated f;
    DatabaseConnection& db = *f.session.Database.CurrentDatabase;
    // What lies on the disk: the file, its write-ahead log and journal.
    const auto onDisk = [&](const char* text) {
        QByteArray bytes;
        for (const char* suffix : {"", "-wal", "-journal"}) {
            QFile file(f.session.Database.CurrentDatabasePath + suffix);
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll();
        }
        return bytes.contains(text);
    };
    ASSERT_TRUE(onDisk("b@example.org"));
    const RetentionRule mask{365, Action::Mask, {"email"}};
    EXPECT_EQ(ApplyRetention(db, f.clock, mask, PlanRetention(db, mask, f.clock.Now().date())), 2);
    EXPECT_FALSE(onDisk("a@example.org") || onDisk("b@example.org"))
        << "a masked value is readable";
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 7);
    EXPECT_EQ(f.Text("SELECT group_concat(Field_Value, '|') FROM Data WHERE FormID = 1"),
              QStringLiteral("|Oslo"));
    EXPECT_EQ(f.Text("SELECT Field_Value FROM Data WHERE FormID = 3"),
              QStringLiteral("c@example.org"));
    EXPECT_TRUE(f.Plan(mask).empty());

    const RetentionRule remove{365, Action::Delete, {}};
    EXPECT_EQ(ApplyRetention(db, f.clock, remove, PlanRetention(db, remove, f.clock.Now().date())),
              3);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 4);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data WHERE FormID IN (1, 2, 7)"), 0);
    EXPECT_FALSE(onDisk("Oslo") || onDisk("Rome")) << "an erased value is readable";
    EXPECT_TRUE(onDisk("c@example.org"));

    const std::vector<ChangeLogEntry> log = ReadChangeLog(db);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, ChangeKind::Retention);
    EXPECT_EQ(log[0].what,
              QStringLiteral("2 record(s) masked (email): past the retention period of 365 days"));
    EXPECT_EQ(log[0].records, QStringLiteral("1-2"));
    EXPECT_EQ(log[1].what,
              QStringLiteral("3 record(s) deleted: past the retention period of 365 days"));
    EXPECT_EQ(log[1].records, QStringLiteral("1-2, 7"));
}

TEST(Retention, RulesAreCheckedSavedAndParsed)
{
    Dated f;
    RetentionSetting setting(f.session);
    ASSERT_TRUE(setting.Load());
    EXPECT_FALSE(setting.Saved().IsSet());
    for (const RetentionRule& bad :
         {RetentionRule{-3, Action::Delete, {}}, RetentionRule{30, Action::Mask, {}},
          RetentionRule{30, Action::Mask, {"nosuch"}}})
        EXPECT_FALSE(setting.Save(bad));
    EXPECT_EQ(
        f.ui.MessageTexts(),
        (QStringList{"The retention period must be one day or more.", "Choose the fields to mask.",
                     "Unknown field 'nosuch': the database has no field of that name"}));
    ASSERT_TRUE(setting.Save({30, Action::Mask, {"EMAIL"}}));
    EXPECT_EQ(LoadRetentionRule(*f.session.Database.CurrentDatabase),
              (RetentionRule{30, Action::Mask, {"email"}}));

    QString error;
    EXPECT_EQ(ParseRetentionRule("days=365,action=mask,fields=email,phone", &error),
              (RetentionRule{365, Action::Mask, {"email", "phone"}}));
    EXPECT_EQ(ParseRetentionRule("action=delete, days=0", &error),
              (RetentionRule{0, Action::Delete, {}}));
    EXPECT_EQ(ParseRetentionRule("none", &error), RetentionRule{});
    for (const char* bad : {"days=ten,action=delete", "days=3", "days=3,action=burn", "weeks=2"})
        EXPECT_FALSE(ParseRetentionRule(QString::fromLatin1(bad), &error)) << bad;
}

TEST(Retention, TheCheckAsksBeforeChangingAnything)
{
    Dated f;
    RetentionSetting setting(f.session);
    ASSERT_TRUE(setting.Load() && setting.Save({365, Action::Delete, {}}));
    f.ui.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(setting.CheckAndApply(), 0);
    EXPECT_EQ(f.ui.messages.last().text,
              QStringLiteral("3 records are past the retention period of 365 days: delete them "
                             "now?"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 7);
    f.ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(setting.CheckAndApply(), 3);
    EXPECT_EQ(f.ui.StatusText(),
              QStringLiteral("3 record(s) deleted: past the retention period of 365 days"));
    EXPECT_EQ(f.session.Database.SummaryRecords.Count(), 4);
    const int asked = static_cast<int>(f.ui.messages.size());
    EXPECT_EQ(setting.CheckAndApply(), 0);
    EXPECT_EQ(f.ui.messages.size(), asked);

    ASSERT_TRUE(setting.Save({1, Action::Mask, {"email"}}));
    f.ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(setting.CheckAndApply(), 2);
    EXPECT_EQ(f.ui.messages.last().text,
              QStringLiteral("2 records are past the retention period of 1 day: mask email in "
                             "them now?"));
}

#include "database/DatabaseFixture.h"
#include "platform/ProgressPacer.h"
#include "database/RecordWriter.h"

#include <gtest/gtest.h>

// Progress and commits paced by the session's clock, moved here by hand.

TEST(ProgressPacer, DrawsOncePerIntervalAndAfterTheLastRecordButYieldsAfterEach)
{
    DatabaseFixture f;
    ProgressPacer pacer(f.ui, f.clock, 5);
    pacer.AfterRecord(1);
    f.clock.Advance(ProgressPacer::kMilliseconds - 1);
    pacer.AfterRecord(2);
    f.clock.Advance(1);
    pacer.AfterRecord(3);
    pacer.AfterRecord(4);
    pacer.AfterRecord(5);
    EXPECT_EQ(f.ui.progressUpdates,
              (QList<QPair<int, QString>>{{3, QStringLiteral("3/5")}, {5, QStringLiteral("5/5")}}));
    EXPECT_EQ(f.ui.yields, 5);
}

TEST(WriteBatch, CommitsWhenTheIntervalHasPassedOnTheClock)
{
    DatabaseFixture f;
    const QString path = f.CreateAndOpen();
    SQLite::Database reader(path.toStdString(), SQLite::OPEN_READONLY);
    const auto committed = [&] {
        return reader.execAndGet("SELECT count(*) FROM Info WHERE Key = 'k'").getInt();
    };
    WriteBatch batch(f.session.Database.CurrentDatabase.get(), f.clock);
    QString error;
    int lost = 0;
    const auto write = [&] {
        f.Db().exec("INSERT INTO Info (Key, Value) VALUES ('k', 'v')");
        return batch.AfterRecord(&error, &lost);
    };
    ASSERT_TRUE(write());
    f.clock.Advance(WriteBatch::kMilliseconds - 1);
    ASSERT_TRUE(write());
    EXPECT_EQ(committed(), 0);
    f.clock.Advance(1);
    ASSERT_TRUE(write());
    EXPECT_EQ(committed(), 3);
    ASSERT_TRUE(write());
    EXPECT_EQ(committed(), 3);
    ASSERT_TRUE(batch.Finish(&error, &lost)) << error.toStdString();
    EXPECT_EQ(committed(), 4);
}

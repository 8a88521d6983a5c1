#include "database/DatabaseFixture.h"
#include "platform/DatabaseConnection.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

// The wait for another program's write lasts the timeout on the
// connection's clock, whatever the machine's speed.
TEST(DatabaseConnection, WaitsForALockedFileAsLongAsItsClockSays)
{
    DatabaseFixture f;
    const QString path = f.Create();
    DatabaseConnection connection(path, f.clock, DatabaseAccess::ReadWrite, 40);
    SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    const qint64 before = f.clock.ElapsedMs();
    try {
        connection.BeginWrite();
        ADD_FAILURE() << "the lock was had";
    } catch (const std::exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("the database is in use by another program: database is locked"));
    }
    EXPECT_EQ(f.clock.ElapsedMs() - before, 40);
    other.exec("ROLLBACK");
    connection.BeginWrite();
}

// Another program about to write the file (or switching it to the log
// itself) while this one switches it is waited for, not taken for a failure.
TEST(DatabaseConnection, SwitchingToTheLogWaitsForAnotherWriter)
{
    DatabaseFixture f;
    const QString path = f.Create();
    TestClock clock;
    DatabaseConnection connection(path, clock, DatabaseAccess::ReadWrite, 1000);
    SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN IMMEDIATE");
    bool writing = true;
    clock.onSleep = [&] {
        if (writing && clock.ElapsedMs() >= 5) {
            other.exec("ROLLBACK");
            writing = false;
        }
    };
    connection.UseWriteAheadLog();
    EXPECT_FALSE(writing);
    EXPECT_EQ(connection.Db().execAndGet("PRAGMA journal_mode").getString(), "wal");
}

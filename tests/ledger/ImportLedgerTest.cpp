#include "database/DatabaseFixture.h"
#include "ledger/ImportLedger.h"
#include "ledger/ImportTally.h"
#include "platform/WriteTransaction.h"

#include <gtest/gtest.h>

namespace {

LedgerEntry Entry(LedgerOutcome outcome, const char* sha, const char* id = "a@example.org")
{
    LedgerEntry entry;
    entry.source = QStringLiteral("imaps://ann@127.0.0.1:993/INBOX");
    entry.uidValidity = 7;
    entry.uid = 1;
    entry.messageId = id;
    entry.sha256 = sha;
    entry.readAt = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    entry.outcome = outcome;
    return entry;
}

} // namespace

TEST(ImportLedger, IsMadeOnlyWhenWrittenAndKnowsWhatKeepsAMessageOut)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    ImportLedger ledger(*f.session.Database.CurrentDatabase);
    EXPECT_FALSE(ledger.Exists());
    EXPECT_FALSE(ledger.IsKnown("a@example.org", "00"));
    EXPECT_FALSE(ledger.HighestUid(QStringLiteral("x"), 7));

    const struct {
        LedgerOutcome outcome;
        const char* sha;
        bool known;
    } cases[] = {{LedgerOutcome::Stored, "01", true},
                 {LedgerOutcome::NoResponse, "02", true},
                 {LedgerOutcome::Failed, "03", false},
                 {LedgerOutcome::AlreadyImported, "04", false}};
    InWriteTransaction(*f.session.Database.CurrentDatabase, [&](SQLite::Database&) {
        ledger.Create();
        for (const auto& c : cases)
            ledger.Add(Entry(c.outcome, c.sha));
    });
    for (const auto& c : cases) {
        EXPECT_EQ(ledger.IsKnown("a@example.org", c.sha), c.known) << c.sha;
        // The same bytes under another Message-ID are another message.
        EXPECT_FALSE(ledger.IsKnown("b@example.org", c.sha)) << c.sha;
    }
    EXPECT_EQ(f.Count("SELECT COUNT(*) FROM ImportLedger WHERE Outcome = 'no response'"), 1);
}

TEST(ImportLedger, HighestUidIsPerFolderAndUidValidity)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    ImportLedger ledger(*f.session.Database.CurrentDatabase);
    InWriteTransaction(*f.session.Database.CurrentDatabase, [&](SQLite::Database&) {
        ledger.Create();
        for (const qint64 uid : {3, 9, 5}) {
            LedgerEntry entry = Entry(LedgerOutcome::Stored, "01");
            entry.uid = uid;
            ledger.Add(entry);
        }
        LedgerEntry other = Entry(LedgerOutcome::Stored, "02");
        other.uidValidity = 8;
        other.uid = 40;
        ledger.Add(other);
    });
    const QString inbox = QStringLiteral("imaps://ann@127.0.0.1:993/INBOX");
    EXPECT_EQ(ledger.HighestUid(inbox, 7), 9);
    EXPECT_EQ(ledger.HighestUid(inbox, 8), 40);
    EXPECT_FALSE(ledger.HighestUid(inbox, 6));
    EXPECT_FALSE(ledger.HighestUid(QStringLiteral("imaps://ann@127.0.0.1:993/Forms"), 7));
}

TEST(ImportTally, AddsUpOnTheLineAndInJson)
{
    ImportTally tally;
    tally.imported = 4;
    tally.stored = 5;
    tally.known = 2;
    tally.noResponse = 1;
    tally.failed = 3;
    EXPECT_EQ(tally.Read(), 10);
    EXPECT_EQ(tally.Line(), QStringLiteral("10 read: 4 with responses (5 record(s) stored), 2 "
                                           "already imported, 1 without a response, 3 failed"));
    EXPECT_EQ(tally.Json(), QStringLiteral("{\"failed\":3,\"imported\":4,\"known\":2,"
                                           "\"no_response\":1,\"read\":10,\"stored\":5}"));
}

#pragma once

#include "database/RecordWriter.h"
#include "ledger/ImportLedger.h"
#include "ledger/ImportTally.h"
#include "responses/ResponseScan.h"

#include <QDateTime>
#include <QStringList>
#include <memory>
#include <vector>

class Session;

// One import's writes: each record in memory stored as a new record, each
// item read given its ledger row in the same group commit as its records,
// so a stop or a crash never keeps a record without its row nor a row
// without its records. Known messages are left out unless again is set.
// The import's change-log entry (its tally, its sources and the records
// kept) goes into the last group's transaction.
class ImportRun : public ScanItems {
public:
    ImportRun(Session& session, bool again);
    ~ImportRun() override;
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    // The record tables' record, stored; false when it could not be (the
    // writer said why) and the import must end.
    bool StoreRecord();
    bool Skip(const ScanItem& item) override;
    bool Done(const ScanItem& item, int records, int dropped) override;
    void Warned(const ScanItem& item, const QString& warning) override;
    // An item that could not be read at all (a file refused or unreadable,
    // a message the server did not give whole).
    void Fail(const ScanItem& item, const QString& reason);
    // Commits what is pending; false when that failed (reported).
    bool Finish();

    ImportTally Tally() const;
    int Stored() const { return Tally().stored; }
    bool Failed() const { return m_failed; }
    bool Stopped() const { return m_stopped; }

private:
    void AddRow(const ScanItem& item, LedgerOutcome outcome, const QString& reason);
    bool AfterItem();
    // What the group since the last commit did, once it is committed or lost.
    void GroupCommitted();
    void GroupLost();
    void CommitFailed();
    void LogImport();

    Session& m_session;
    bool m_again;
    std::unique_ptr<ImportLedger> m_ledger; // none without a database
    std::unique_ptr<WriteBatch> m_batch;
    ImportTally m_tally;            // committed
    ImportTally m_group;            // written since the last commit
    QStringList m_itemRecords;      // FormIDs the current item gave so far
    std::vector<qint64> m_groupIds; // records stored since the last commit
    std::vector<qint64> m_keptIds;  // records committed
    QString m_firstSource;
    int m_otherSources = 0; // sources after the first, each counted where it starts
    QString m_lastSource;
    bool m_finishing = false;
    bool m_logged = false;
    QDateTime m_readAt;
    qint64 m_readAtMs = -1;
    QString m_commitError;
    bool m_failed = false;
    bool m_stopped = false;
    bool m_finished = false;
};

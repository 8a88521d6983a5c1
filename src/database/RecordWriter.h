#pragma once

#include "platform/Clock.h"

#include <QString>
#include <functional>

class DatabaseConnection;
class FieldNameCatalog;
class Session;
namespace SQLite {
class Database;
}

// Stores the record in memory into the open database. With writeFields
// above 0 the header, the field entries and the field-names list are
// written, otherwise only the header. With EditRecord set in RecordState
// the current row of RecordCursor is updated, otherwise a new Forms row is
// inserted. The whole record is written or nothing of it: an error rolls
// the record back, shows "WriteRecord: Error saving Record to the
// database: " with the engine's description and returns false.
// Within a WriteBatch the field-names list is not written with each record:
// the batch's owner writes it before every commit, with StoreFieldNamesList.
bool WriteResumes(Session& session, int writeFields);

// Writes the list into the file's Info row when it has grown since it was
// last stored there.
void StoreFieldNamesList(DatabaseConnection& connection, FieldNameCatalog& names);

// One record's writes: rolled back unless released, so a record is stored
// whole or not at all. systemErrno, when given, receives the system's error
// number of a failed write before the rollback clears it.
class Savepoint {
public:
    explicit Savepoint(DatabaseConnection& connection, int* systemErrno = nullptr);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    void Release();
    // Whether the record is its own transaction, committed on release.
    bool OwnsTransaction() const { return m_ownTransaction; }

private:
    void EndOwnTransaction();

    DatabaseConnection& m_connection;
    SQLite::Database& m_db;
    int* m_systemErrno;
    bool m_ownTransaction = false;
    bool m_done = false;
};

// Groups the records of one import into transactions committed every
// kRecords records or kMilliseconds, so that importing costs about what
// the inserts cost. Each record still goes in whole or not at all (it is
// written inside its own savepoint), so a crash loses at most the last
// group and never leaves half a record.
class WriteBatch {
public:
    static constexpr int kRecords = 500;
    static constexpr qint64 kMilliseconds = 100;

    // beforeCommit, when given, runs inside each group's transaction just
    // before it commits (to write what the records of the group share).
    WriteBatch(DatabaseConnection* connection, const Clock& clock,
               std::function<void()> beforeCommit = {});
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // After each record written: commits when the group is due. On a
    // failed commit returns false with the engine's description; the
    // records of that group (lost) are then in *lost. Also false when the
    // next group's write lock could not be had (another program kept it):
    // what was written so far is committed.
    bool AfterRecord(QString* error, int* lost);
    // Commits what is pending and ends the batch.
    bool Finish(QString* error, int* lost);
    // AfterRecord calls since the last commit.
    int Pending() const { return m_pending; }

private:
    bool Commit(QString* error, int* lost);
    void Begin();
    bool BeganWell(QString* error) const;

    DatabaseConnection* m_connection;
    std::function<void()> m_beforeCommit;
    bool m_open = false;
    int m_pending = 0;
    QString m_beginError;
    Stopwatch m_timer;
};

#pragma once

#include "platform/Clock.h"

#include <QString>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// How a connection uses its file. A reader never writes it, never takes
// the write lock and never changes its journal mode, so it can read a file
// it may not write and read alongside a writer.
enum class DatabaseAccess { ReadWrite, ReadOnly };

// One column of a table as the file declares it.
struct ColumnInfo {
    QString name;
    qint16 kind = 0; // a ColumnKind
    int size = 0;    // maximum length of a Text column
};
using TableLayout = std::vector<ColumnInfo>;

// The engine's wait for another program's write to end: it tries again
// every millisecond until timeoutMs have passed on clock.
struct BusyWait {
    const Clock* clock = nullptr;
    int timeoutMs = 0;
    qint64 since = 0;
    // Makes this the busy handler of db, which must not outlive it.
    void InstallOn(SQLite::Database& db);
};

// A connection to one database file: foreign keys on, for a writer
// secure_delete on (what is deleted is overwritten, not left readable in
// free pages), a busy handler that
// waits for another program's write to end, a cache of prepared statements and of the tables'
// column layouts. Every failure is thrown as SQLite::Exception (or std::runtime_error) whose what()
// is the engine's description; callers catch and report it.
class DatabaseConnection {
public:
    // Marks a file as one of ours (PRAGMA application_id): "Tlmr".
    static constexpr int kApplicationId = 0x546C6D72;
    // How long a connection waits for another program's write to end:
    // an import commits at least every tenth of a second, so a writer of
    // this program is waited for, a stuck one is not waited for forever.
    static constexpr int kBusyTimeoutMs = 30000;

    // Opens an existing file. Throws when the file is missing or is not a
    // database, and for ReadWrite when it cannot be written (read-only).
    // A reader of a file in write-ahead-log mode in a folder where the
    // log's index cannot be made reads the file as it stands. The wait for
    // another program's write is measured on clock, which must outlive the
    // connection.
    DatabaseConnection(const QString& path, const Clock& clock,
                       DatabaseAccess access = DatabaseAccess::ReadWrite,
                       int busyTimeoutMs = kBusyTimeoutMs);
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    // Creates a new, empty database file; throws when a file of that name
    // already exists (it is left untouched) or cannot be created.
    static std::unique_ptr<DatabaseConnection> CreateFile(const QString& path);

    bool IsReadOnly() const { return m_access == DatabaseAccess::ReadOnly; }

    // Starts a write transaction that holds the write lock from its start
    // (BEGIN IMMEDIATE): a transaction that read first and then wrote could
    // not wait for another writer. Waits as the busy handler does, then
    // throws "the database is in use by another program" with the engine's
    // text; a reader throws at once.
    void BeginWrite();

    // Write-ahead logging with synchronous=NORMAL: commits do not wait for
    // the disk, yet the file stays consistent after a crash or power loss
    // (at most the last commits are lost). Called once a file has passed
    // the checks, so a file that is refused is never written. Waits for
    // readers of another program as BeginWrite does.
    void UseWriteAheadLog();

    // Copies the write-ahead log into the file and empties it
    // (wal_checkpoint(TRUNCATE)), so that no page of deleted records stays
    // readable in the log. With secure_delete, which every writer has on,
    // the file itself keeps no text of them either. Throws the engine's
    // exception; does nothing for a reader.
    void CheckpointLog();

    const QString& Path() const { return m_path; }

    // Whether the file at Path() is still the file this connection opened
    // and still a database: a file replaced, removed or cut short while
    // open would otherwise take commits that are lost or that damage it.
    // Looks at the name through stat and at the contents through the
    // engine's own descriptor: closing a second descriptor of the file
    // would drop every lock the engine holds on it. False with the reason
    // in *why.
    bool FileIsStillOurs(QString* why) const;
    SQLite::Database& Db() { return m_db; }

    // A prepared statement for sql, reset and with its bindings cleared.
    SQLite::Statement& Cached(const std::string& sql);
    // The same for a statement found by a name of the caller's, its text
    // made by make the first time only: a text built from the tables'
    // layout costs more than the statement's step.
    SQLite::Statement& Cached(const char* name, const std::function<std::string()>& make);

    // The columns of table in their order in the file (read once).
    const TableLayout& Layout(const QString& table);
    // The kind of column of table (0 when there is no such column).
    qint16 ColumnKindOf(const QString& table, const QString& column);

private:
    struct Created {};
    DatabaseConnection(const QString& path, Created);
    void Configure(int busyTimeoutMs);

    void RememberFile();

    QString m_path;
    DatabaseAccess m_access = DatabaseAccess::ReadWrite;
    SQLite::Database m_db;
    // No clock for a file just created, which nobody else knows to wait for.
    BusyWait m_busy;
    // The opened file's device and inode.
    quint64 m_device = 0;
    quint64 m_inode = 0;
    // Declared after m_db so they are destroyed before it.
    std::map<std::string, std::unique_ptr<SQLite::Statement>> m_statements;
    std::map<std::string, SQLite::Statement*, std::less<>> m_named;
    std::map<QString, TableLayout> m_layouts;
};

// The kind of a column of Forms by name, so searches can choose how to
// compare it (text or memo, date, number).
qint16 FormsColumnKind(DatabaseConnection& connection, const QString& column);

// The description of an error of the engine on this connection: its own
// text, and for a failed read or write of the file also the system's
// reason ("disk I/O error (File too large)"), which says what to do.
QString EngineErrorText(DatabaseConnection* connection, const std::exception& error);
// The same with the system's error number taken before anything else ran
// on the connection (a rollback clears it).
QString EngineErrorText(const std::exception& error, int systemErrno);

// Whether a file in write-ahead-log mode that a reader cannot open for want
// of its log's index (a folder it may not write) can be read as it stands:
// no log and no index beside it, so nobody is writing it.
bool ReadableAsItStands(const QString& path);
// The URI that opens path for reading as it stands, without locks.
std::string ImmutableName(const QString& path);

// The text of a failure to get the file's lock in time: "the database is
// in use by another program" and the engine's text.
QString InUseText(const std::exception& error);

// A quoted SQL identifier: "name" with inner quotes doubled.
std::string QuotedName(const QString& name);

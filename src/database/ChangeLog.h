#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

class Clock;
class DatabaseConnection;

namespace SQLite {
class Database;
}

// The change log of a database: table ChangeLog, one row for every
// operation that changed records or wrote them out, so that "who changed
// or deleted this, and when" has an answer. It holds what was done and to
// which records, never the values themselves. New files get the table when
// created, older files when a writer opens them (their other tables stay as
// they are); an older program ignores it.
//
//   ChangeLog ("EntryID" INTEGER PRIMARY KEY, "LoggedAt" TEXT: UTC,
//              ISO 8601 with a Z, "Kind" TEXT: a ChangeKind's name,
//              "What" TEXT, "Records" TEXT, "User" TEXT)

enum class ChangeKind { Import, Edit, Delete, Transfer, Merge, Retention, Export, Erase };

// "import", "edit", "delete", "transfer", "merge", "retention", "export",
// "erase": the names the table, the log window and the command line use.
QString ChangeKindName(ChangeKind kind);
std::optional<ChangeKind> ChangeKindFromName(const QString& name);
// Every kind in the order above.
const std::vector<ChangeKind>& AllChangeKinds();

struct ChangeLogEntry {
    qint64 id = 0;
    QDateTime loggedAt; // UTC
    ChangeKind kind = ChangeKind::Edit;
    QString what;    // a short text: "12 read: 10 imported, ..."
    QString records; // record numbers ("3, 7-9") or a count ("1200 records, 5 to 1204")
    QString user;    // the operating-system user who ran the program
};

// Which entries to read; an empty filter reads them all.
struct ChangeLogFilter {
    std::optional<ChangeKind> kind;
    QDateTime since; // entries logged at or after it; invalid for all
    QString text;    // found in what, records or user, ignoring case
};

// Makes the table when the file has none (IF NOT EXISTS); throws the
// engine's exception.
void CreateChangeLogTable(SQLite::Database& db);

// Appends one entry logged now (on clock, stored in UTC) by the
// operating-system user. Call inside the caller's write transaction, so
// the entry is committed, or rolled back, with the change it describes;
// makes the table first when the file has none. Throws the engine's
// exception.
void AppendChangeLog(DatabaseConnection& connection, const Clock& clock, ChangeKind kind,
                     const QString& what, const QString& records);

// The entries that pass filter, oldest first; none for a file without the
// table. Throws the engine's exception.
std::vector<ChangeLogEntry> ReadChangeLog(DatabaseConnection& connection,
                                          const ChangeLogFilter& filter = {});

// The records text for a list of record numbers: runs of consecutive
// numbers as ranges ("3, 7-9"), or, for a long list, its count and span
// ("1200 records, 5 to 1204"). The numbers need not be sorted.
QString ChangeLogRecords(std::vector<qint64> ids);

// The name of the operating-system user running the program.
QString OperatingSystemUser();

// A --since or filter date as the user types it: "YYYY-MM-DD" (the start
// of that day in local time) or an ISO 8601 date and time; none when the
// text is neither.
std::optional<QDateTime> ParseChangeLogSince(const QString& text);

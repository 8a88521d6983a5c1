#include "privacy/RecordErasure.h"

#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"

#include <SQLiteCpp/Statement.h>

int EraseRecords(DatabaseConnection& connection, const Clock& clock, const std::vector<qint64>& ids,
                 ChangeKind kind, const QString& what)
{
    int erased = 0;
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        erased = 0;
        SQLite::Statement remove(db, "DELETE FROM \"Forms\" WHERE \"FormID\" = ?");
        std::vector<qint64> gone;
        for (const qint64 id : ids) {
            remove.reset();
            remove.bind(1, static_cast<int64_t>(id));
            if (remove.exec() > 0) {
                ++erased;
                gone.push_back(id);
            }
        }
        AppendChangeLog(connection, clock, kind, what.arg(erased), ChangeLogRecords(gone));
    });
    // Until the log is emptied into the file, the file keeps the pages
    // as they were before the delete, erased text and all.
    connection.CheckpointLog();
    return erased;
}

void LogPersonExport(DatabaseConnection& connection, const Clock& clock,
                     const std::vector<qint64>& ids, const QString& format)
{
    InWriteTransaction(connection, [&](SQLite::Database&) {
        AppendChangeLog(connection, clock, ChangeKind::Export,
                        QStringLiteral("%1 record(s) of a person's data saved as %2")
                            .arg(ids.size())
                            .arg(format),
                        ChangeLogRecords(ids));
    });
}

QString ErasedPersonText(bool address)
{
    return address ? QStringLiteral("%1 record(s) erased: a person's data, found by e-mail address")
                   : QStringLiteral("%1 record(s) erased: a person's data, found by a text");
}

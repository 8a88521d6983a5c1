#include "database/SessionChangeLog.h"

#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"
#include "session/Session.h"

#include <memory>

bool LogChangeToOpenDatabase(Session& session, ChangeKind kind, const QString& what,
                             const QString& records)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return false;
    DatabaseConnection* connection = d.CurrentDatabase.get();
    std::unique_ptr<DatabaseConnection> writer;
    try {
        if (connection->IsReadOnly()) {
            writer = std::make_unique<DatabaseConnection>(
                d.CurrentDatabasePath, session.Now, DatabaseAccess::ReadWrite, d.BusyTimeoutMs);
            connection = writer.get();
        }
        InWriteTransaction(*connection, [&](SQLite::Database&) {
            AppendChangeLog(*connection, session.Now, kind, what, records);
        });
        return true;
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("The change log could not be written: ") +
                                  EngineErrorText(connection, e),
                              MessageIcon::Exclamation);
        return false;
    }
}

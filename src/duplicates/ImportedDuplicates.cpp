#include "duplicates/ImportedDuplicates.h"

#include "session/Session.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateKeys.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/DatabaseConnection.h"

qint64 LastRecordNumber(Session& session)
{
    return session.Database.CurrentDatabase->Db()
        .execAndGet("SELECT ifnull(max(\"FormID\"), 0) FROM \"Forms\"")
        .getInt64();
}

std::optional<int> MarkImportedDuplicates(Session& session, qint64 lastBefore, bool* failed)
{
    DatabaseConnection* connection = session.Database.CurrentDatabase.get();
    if (!connection)
        return std::nullopt;
    const auto fail = [&](const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error marking possible duplicates: ") +
                                  EngineErrorText(connection, e),
                              MessageIcon::Exclamation);
        *failed = true;
    };
    DuplicateKeys keys;
    try {
        keys = LoadDuplicateKeys(*connection);
    } catch (const std::exception& e) {
        fail(e);
        return std::nullopt;
    }
    if (!keys.IsSet())
        return std::nullopt;
    DuplicateSearch search = FindDuplicateGroups(session, keys);
    if (!search.ok) {
        *failed = true;
        return std::nullopt;
    }
    try {
        DropClearedRecords(search.groups, LoadDuplicateMarks(*connection));
        return MarkNewDuplicates(*connection, search.groups, lastBefore);
    } catch (const std::exception& e) {
        fail(e);
        return std::nullopt;
    }
}

#include "privacy/RecordsGone.h"

#include "database/RecordReader.h"
#include "database/SummaryNavigation.h"
#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "session/Session.h"

#include <SQLiteCpp/Statement.h>
#include <algorithm>

void ShowRecordsGone(Session& session, const std::vector<qint64>& deleted)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase || deleted.empty())
        return;
    try {
        d.RecordCursor.Load(*d.CurrentDatabase);
        if (d.SummaryFiltered) {
            DatabaseConnection result(session.Folders.SearchResultFile(), session.Now);
            SQLite::Statement& remove = result.Cached("DELETE FROM \"Forms\" WHERE \"FormID\" = ?");
            for (const qint64 id : deleted) {
                remove.reset();
                remove.bind(1, static_cast<int64_t>(id));
                remove.exec();
            }
        }
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                              MessageIcon::Exclamation);
    }
    const std::optional<qint64> current = d.SummaryRecords.Bookmark();
    std::vector<qint64> ids = d.SummaryRecords.Ids();
    std::erase_if(
        ids, [&](qint64 id) { return std::binary_search(deleted.begin(), deleted.end(), id); });
    d.SummaryRecords.Assign(std::move(ids));
    if (!current || !d.SummaryRecords.Seek(*current))
        d.SummaryRecords.MoveFirst();
    const int count = d.SummaryRecords.Count();
    if (count == 0) {
        d.RecordState |= DatabaseState::NoRecords;
        QString error;
        if (!NewResume(session, &error))
            session.ui.MessageBox(QStringLiteral("Error clearing new Record: ") + error,
                                  MessageIcon::Exclamation);
    }
    emit session.Events.SummaryReloaded(count);
    OpenResume(session);
}

void ShowRecordsChanged(Session& session)
{
    if (!session.Database.CurrentDatabase)
        return;
    emit session.Events.SummaryReloaded(session.Database.SummaryRecords.Count());
    OpenResume(session);
}

#include "search/MergedAway.h"

#include "database/SummaryNavigation.h"
#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "search/SummarySearch.h"
#include "session/Session.h"

#include <SQLiteCpp/Statement.h>
#include <algorithm>

void ForgetDeletedRecords(Session& session, const std::vector<qint64>& deleted)
{
    DatabaseState& d = session.Database;
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
    std::vector<qint64> gone = deleted;
    std::sort(gone.begin(), gone.end());
    std::vector<qint64> ids = d.SummaryRecords.Ids();
    std::erase_if(ids, [&](qint64 id) { return std::binary_search(gone.begin(), gone.end(), id); });
    d.SummaryRecords.Assign(std::move(ids));
}

void ShowMergedAway(Session& session, qint64 kept, const std::vector<qint64>& deleted)
{
    DatabaseState& d = session.Database;
    ForgetDeletedRecords(session, deleted);
    d.SummaryRecords.Seek(kept);
    // Emits the summary's reload with the kept record's new name and date.
    if (d.SummaryFiltered)
        RefreshResultRow(session, kept);
    else
        emit session.Events.SummaryReloaded(d.SummaryRecords.Count());
    OpenResume(session);
}

#include "privacy/RecordsGone.h"

#include "database/RecordReader.h"
#include "database/SummaryNavigation.h"
#include "search/MergedAway.h"
#include "session/Session.h"

void ShowRecordsGone(Session& session, const std::vector<qint64>& deleted)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase || deleted.empty())
        return;
    const std::optional<qint64> current = d.SummaryRecords.Bookmark();
    ForgetDeletedRecords(session, deleted);
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

#include "database/SummaryNavigation.h"

#include "session/Session.h"
#include "database/RecordReader.h"
#include "database/UnsavedRecord.h"

namespace {

const QString kMoveError = QStringLiteral("Error moving to record: please try again: ");

} // namespace

bool OpenResume(Session& session)
{
    DatabaseState& d = session.Database;
    const std::optional<qint64> current = d.SummaryRecords.Bookmark();
    if (d.OpeningDatabase)
        return false;
    // What the user changed on the record on screen is stored (or, for a
    // new or edited record, asked about) before another record is shown.
    if (current) {
        if (!StoreUnsavedRecord(session)) {
            // The user stays: the summary goes back to the record on screen.
            if (const auto shown = d.RecordCursor.Bookmark();
                shown && d.SummaryRecords.Seek(*shown))
                emit session.Events.SummaryCurrentRowChanged(*shown);
            return false;
        }
        // Storing a header may have moved the summary to the stored row.
        d.SummaryRecords.Seek(*current);
    }
    if (!current) {
        QString error;
        if (!NewResume(session, &error)) {
            session.ui.MessageBox(kMoveError + error, MessageIcon::Exclamation);
            return false;
        }
        return true;
    }
    // The viewer's cursor is positioned by key: the summary may list the
    // rows of a search result, which are copies of the open database's rows.
    if (!d.RecordCursor.Seek(*current)) {
        session.ui.MessageBox(kMoveError + QStringLiteral("Record %1 was not found.").arg(*current),
                              MessageIcon::Exclamation);
        return false;
    }
    if (!ReadResumes(session))
        return false;
    d.RecordUnchanged = true;
    emit session.Events.SummaryCurrentRowChanged(*current);
    return true;
}

bool Command1_Click(Session& session, Navigation move)
{
    RecordSet& rows = session.Database.SummaryRecords;
    bool atEnd = false;
    switch (move) {
    case Navigation::First:
        rows.MoveFirst();
        atEnd = true;
        break;
    case Navigation::Previous:
        rows.MovePrevious();
        if (rows.IsBOF()) {
            rows.MoveFirst();
            atEnd = true;
        }
        break;
    case Navigation::Next:
        rows.MoveNext();
        if (rows.IsEOF()) {
            rows.MoveLast();
            atEnd = true;
        }
        break;
    case Navigation::Last:
        rows.MoveLast();
        atEnd = true;
        break;
    default:
        return false;
    }
    if (atEnd)
        session.ui.Yield();
    return OpenResume(session);
}

bool SummaryRowChosen(Session& session, qint64 formId)
{
    DatabaseState& d = session.Database;
    if ((d.RecordState & DatabaseState::NoRecords) || d.OpeningDatabase)
        return false;
    if (d.SummaryRecords.Bookmark() == formId)
        return true;
    if (!d.SummaryRecords.Seek(formId))
        return false;
    return OpenResume(session);
}

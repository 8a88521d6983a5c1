#include "database/UnsavedRecord.h"

#include "session/Session.h"
#include "database/DatabaseOpening.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"

namespace {

constexpr int kModeBits = DatabaseState::NewRecord | DatabaseState::EditRecord | 4;

const QString kSaveNewQuestion =
    QStringLiteral("Do you want to save the new Record before leaving it?");
const QString kSaveChangesQuestion =
    QStringLiteral("Do you want to save the changes made to this Record?");

// Writes the record with the mode bits given; on success the record on
// screen counts as unchanged and the bits are clear.
bool Write(Session& session, int modeBit, int writeFields)
{
    DatabaseState& d = session.Database;
    d.RecordState = (d.RecordState & ~kModeBits) | modeBit;
    // Writing may make the summary show a record again, which must not
    // find this change still pending.
    d.RecordUnchanged = true;
    if (!WriteResumes(session, writeFields)) {
        d.RecordUnchanged = false;
        return false;
    }
    d.RecordState &= ~kModeBits;
    return true;
}

// The view state: notes are the one header box kept as typed without a
// question. A change to any other box is the user's to confirm, since a
// stray keystroke there would otherwise replace a name or source unseen:
// No puts those boxes back and keeps the notes. False when the user chose
// to stay.
bool StoreViewedHeader(Session& session)
{
    DatabaseState& d = session.Database;
    RecordTables& t = session.Tables;
    const std::optional<qint64> formId = d.RecordCursor.Bookmark();
    const std::optional<QStringList> stored =
        formId ? ReadStoredHeader(session, *formId) : std::nullopt;
    const auto storedText = [&](int column) {
        return stored && column < stored->size() ? stored->at(column) : QString();
    };
    bool beyondNotes = !stored;
    for (int column = RecordTables::NameColumn; column <= RecordTables::SourceColumn; ++column)
        if (column != RecordTables::NotesColumn && t.Header(column) != storedText(column))
            beyondNotes = true;
    if (beyondNotes) {
        const MessageAnswer answer = session.ui.MessageBox(
            kSaveChangesQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return false;
        if (answer != MessageAnswer::Yes) {
            if (!stored) {
                d.RecordUnchanged = true;
                return true;
            }
            for (int column = RecordTables::NameColumn; column <= RecordTables::SourceColumn;
                 ++column)
                if (column != RecordTables::NotesColumn)
                    t.PutArrayElement(RecordTables::kHeaderTable, column, storedText(column));
            if (t.Header(RecordTables::NotesColumn) == storedText(RecordTables::NotesColumn)) {
                d.RecordUnchanged = true;
                return true;
            }
        }
    }
    return Write(session, DatabaseState::EditRecord, 0);
}

} // namespace

bool StoreUnsavedRecord(Session& session)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return true;
    const int mode = d.RecordState & kModeBits;
    const bool hasRecord = !(d.RecordState & DatabaseState::NoRecords) &&
                           d.RecordCursor.Count() > 0 &&
                           !session.Tables.Header(0).trimmed().isEmpty();

    if (mode & DatabaseState::NewRecord) {
        const MessageAnswer answer = session.ui.MessageBox(kSaveNewQuestion, MessageIcon::Question,
                                                           MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return false;
        if (answer == MessageAnswer::Yes) {
            const std::optional<qint64> target = d.SummaryRecords.Bookmark();
            if (!Write(session, DatabaseState::NewRecord, 1))
                return false;
            d.RecordState &= ~DatabaseState::NoRecords;
            // The new record joins the summary, which stays where the user is going.
            if (!d.SummaryFiltered)
                ReloadSummary(session, target);
            return true;
        }
        d.RecordState &= ~kModeBits;
        d.RecordUnchanged = true;
        return true;
    }
    if (d.RecordUnchanged || !hasRecord) {
        d.RecordState &= ~kModeBits;
        return true;
    }
    if (mode & DatabaseState::EditRecord) {
        const MessageAnswer answer = session.ui.MessageBox(
            kSaveChangesQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return false;
        if (answer == MessageAnswer::Yes)
            return Write(session, DatabaseState::EditRecord, 1);
        d.RecordState &= ~kModeBits;
        d.RecordUnchanged = true;
        return true;
    }
    // The view state: only the header can have changed.
    return StoreViewedHeader(session);
}

#include "database/RecordDeletion.h"

#include "session/Session.h"
#include "database/ChangeLog.h"
#include "database/RecordReader.h"
#include "platform/ProgressPacer.h"
#include "session/RecordChooser.h"
#include "session/RecordSelection.h"
#include "database/RecordWriter.h"
#include "database/SummaryNavigation.h"
#include "platform/ErrorText.h"
#include "platform/WriteTransaction.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

const QString kDeleteError = QStringLiteral("Error deleting records: ");

bool Contains(const std::vector<qint64>& sorted, qint64 id)
{
    return std::binary_search(sorted.begin(), sorted.end(), id);
}

// The row to show after deleting: the first row after the last deleted
// one that is still there, else the last one before it.
std::optional<qint64> Neighbour(const std::vector<qint64>& before, const std::vector<qint64>& after,
                                qint64 lastDeleted)
{
    const auto at = std::lower_bound(before.begin(), before.end(), lastDeleted);
    for (auto it = at; it != before.end(); ++it) {
        if (*it != lastDeleted && Contains(after, *it))
            return *it;
    }
    for (auto it = at; it != before.begin();) {
        --it;
        if (Contains(after, *it))
            return *it;
    }
    return std::nullopt;
}

void ThrowIfFailed(bool ok, const QString& error)
{
    if (!ok)
        throw std::runtime_error(error.toStdString());
}

} // namespace

DeleteOutcome DeleteResumes(Session& session, RecordChooser& chooser)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    DeleteOutcome outcome;
    if (!d.CurrentDatabase)
        return outcome;

    chooser.ShowSelectDialog(QStringLiteral("Select records to delete"));
    if (session.Selection == RecordSelection{RecordSelection::kCancelled, 0})
        return outcome;
    if (ui.MessageBox(QStringLiteral("Are you sure you want to delete the selected Record(s) "
                                     "from the Database?"),
                      MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        ui.SetStatusText(QStringLiteral("Delete Cancelled"));
        return outcome;
    }
    outcome.ran = true;
    BusyPointer busy(ui);
    if (d.SummaryRecords.Count() == 0) {
        ui.MessageBox(QStringLiteral("No records selected"), MessageIcon::Information);
        return outcome;
    }

    const std::vector<qint64> ids = RecordsToProcess(session, chooser.SelectedSummaryRows());
    const int total = static_cast<int>(ids.size());
    ProgressRequest progress;
    progress.caption = QStringLiteral("Deleting records...");
    progress.minimum = 0;
    progress.maximum = total;
    progress.value = 0;
    ui.ShowProgress(progress);
    ui.Yield();

    qint64 lastDeleted = 0;
    std::vector<qint64> deletedIds;
    bool finishing = false;
    bool appended = false; // to the last group, which may yet fail
    bool logged = false;
    try {
        DatabaseConnection& c = *d.CurrentDatabase;
        // The result file's copy of each row goes as well, so the summary
        // never lists a record that is gone.
        std::unique_ptr<DatabaseConnection> result;
        if (d.SummaryFiltered)
            result = std::make_unique<DatabaseConnection>(session.Folders.SearchResultFile(),
                                                          session.Now);
        // Deletions are committed in groups; each one is a single statement
        // (its fields go by cascade), so none is ever half done.
        // The deletion's change-log entry goes with its last group.
        WriteBatch batch(&c, session.Now, [&] {
            if (!finishing || deletedIds.empty())
                return;
            AppendChangeLog(c, session.Now, ChangeKind::Delete,
                            QStringLiteral("%1 record(s) deleted").arg(deletedIds.size()),
                            ChangeLogRecords(deletedIds));
            appended = true;
        });
        WriteBatch resultBatch(result.get(), session.Now);
        SQLite::Statement& remove = c.Cached("DELETE FROM \"Forms\" WHERE \"FormID\" = ?");
        ProgressPacer pacer(ui, session.Now, total);
        QString error;
        int lost = 0;
        for (int i = 0; i < total; ++i) {
            if (ui.CancelRequested()) {
                ui.ClearCancelRequested();
                break;
            }
            const qint64 id = ids[static_cast<size_t>(i)];
            remove.reset();
            remove.bind(1, static_cast<int64_t>(id));
            remove.exec();
            if (result) {
                SQLite::Statement& copy =
                    result->Cached("DELETE FROM \"Forms\" WHERE \"FormID\" = ?");
                copy.bind(1, static_cast<int64_t>(id));
                copy.exec();
                ThrowIfFailed(resultBatch.AfterRecord(&error, &lost), error);
            }
            deletedIds.push_back(id);
            ThrowIfFailed(batch.AfterRecord(&error, &lost), error);
            lastDeleted = id;
            ++outcome.deleted;
            pacer.AfterRecord(i + 1);
        }
        ThrowIfFailed(resultBatch.Finish(&error, &lost), error);
        finishing = true;
        ThrowIfFailed(batch.Finish(&error, &lost), error);
        logged = appended;
        // The deleted text is overwritten in the file (secure_delete) and
        // taken out of the write-ahead log.
        c.CheckpointLog();
    } catch (const std::exception& e) {
        // What was deleted before the error stays deleted (the batch has
        // committed it on the way out); the windows still follow it below.
        outcome.failed = true;
        if (ui.ProgressVisible())
            ui.CloseProgress();
        ui.MessageBox(kDeleteError + ErrorText(e), MessageIcon::Exclamation);
    }

    if (outcome.deleted > 0) {
        // The rows as the file now holds them: what a failed group commit
        // lost is back in the list.
        const std::vector<qint64> before = d.SummaryRecords.Ids();
        try {
            d.RecordCursor.Load(*d.CurrentDatabase);
        } catch (const std::exception& e) {
            outcome.failed = true;
            ui.MessageBox(kDeleteError + ErrorText(e), MessageIcon::Exclamation);
        }
        const std::vector<qint64>& present = d.RecordCursor.Ids();
        std::vector<qint64> after;
        after.reserve(before.size());
        for (const qint64 id : before) {
            if (Contains(present, id))
                after.push_back(id);
        }
        outcome.deleted = static_cast<int>(before.size() - after.size());
        // A failed group commit took the entry with it: what is gone is
        // logged on its own.
        if (!logged && outcome.deleted > 0) {
            std::vector<qint64> gone;
            for (const qint64 id : before) {
                if (!Contains(present, id))
                    gone.push_back(id);
            }
            try {
                InWriteTransaction(*d.CurrentDatabase, [&](SQLite::Database&) {
                    AppendChangeLog(*d.CurrentDatabase, session.Now, ChangeKind::Delete,
                                    QStringLiteral("%1 record(s) deleted").arg(gone.size()),
                                    ChangeLogRecords(gone));
                });
                d.CurrentDatabase->CheckpointLog();
            } catch (const std::exception& e) {
                outcome.failed = true;
                ui.MessageBox(kDeleteError + ErrorText(e), MessageIcon::Exclamation);
            }
        }
        const std::optional<qint64> neighbour = Neighbour(before, after, lastDeleted);
        d.SummaryRecords.Assign(std::move(after));
        const int count = d.SummaryRecords.Count();
        if (!neighbour) {
            d.RecordState |= DatabaseState::NoRecords;
            emit session.Events.SummaryReloaded(count);
            QString error;
            if (!NewResume(session, &error))
                ui.MessageBox(QStringLiteral("Error clearing new Record: ") + error,
                              MessageIcon::Exclamation);
            OpenResume(session);
        } else {
            d.SummaryRecords.Seek(*neighbour);
            emit session.Events.SummaryReloaded(count);
            OpenResume(session);
        }
    }
    ui.SetStatusText(QString::number(outcome.deleted) + QStringLiteral(" record(s) Deleted"));
    if (ui.ProgressVisible())
        ui.CloseProgress();
    return outcome;
}

#include "responses/ResponseImport.h"

#include "session/Session.h"
#include "database/DatabaseOpening.h"
#include "database/RecordWriter.h"
#include "responses/ImportDisplay.h"
#include "responses/ResponseScan.h"
#include "database/UnsavedRecord.h"
#include "duplicates/ImportedDuplicates.h"

#include <QFileInfo>

namespace {

constexpr int kModeBits =
    DatabaseState::NewRecord | DatabaseState::EditRecord | 4 | DatabaseState::NoRecords;

} // namespace

ImportOutcome ImportResume(Session& session, const QString& sourceBase)
{
    Ui& ui = session.ui;
    ImportOutcome outcome;

    FileDialogRequest request;
    request.title = QStringLiteral("Select response file(s) to import...");
    request.filters = ParseFileFilters(
        QStringLiteral("All Files (*.*)|*.*|Mail messages (*.eml *.emlx *.mbox *.mbx)|"
                       "*.eml;*.emlx;*.mbox;*.mbx|"));
    request.proposedName = QStringLiteral("*.*");
    request.multipleSelection = true;
    const FileDialogResult chosen = ui.OpenFileDialog(request);
    if (chosen.cancelled || chosen.paths.isEmpty()) {
        ui.SetStatusText(QStringLiteral("Record import cancelled"));
        outcome.cancelled = true;
        return outcome;
    }
    ui.Yield();
    return ImportResponseFiles(session, chosen.paths, sourceBase);
}

ImportOutcome ImportResponseFiles(Session& session, const QStringList& paths,
                                  const QString& sourceBase)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    ImportOutcome outcome;

    // Each response passes through the record in memory: the record on
    // screen is left first, as moving to another record leaves it.
    if (!StoreUnsavedRecord(session)) {
        ui.SetStatusText(QStringLiteral("Record import cancelled"));
        outcome.cancelled = true;
        return outcome;
    }
    const QString doneText = QStringLiteral(" Record(s) imported in to ");
    qint64 lastBefore = 0;
    try {
        lastBefore = LastRecordNumber(session);
    } catch (const std::exception&) {
        // The import's own writes report what is wrong with the file.
    }
    ImportedDuplicates marking(session, lastBefore);
    // Records a failed commit lost are no longer there to be marked.
    bool commitLost = false;
    marking.Start();
    ui.SetStatusText(QStringLiteral("Importing records in to  ") + d.CurrentDatabasePath);
    // A stop asked for by an earlier command is not this one's.
    ui.ClearCancelRequested();
    {
        BusyPointer busy(ui);
        WriteBatch batch(d.CurrentDatabase.get(), session.Now,
                         [&] { StoreFieldNamesList(*d.CurrentDatabase, d.CurrentFieldNames); });
        QString commitError;
        int lost = 0;
        const auto commitFailed = [&] {
            commitLost = true;
            outcome.total -= lost;
            ui.MessageBox(QStringLiteral("WriteRecord: Error saving Record to the database: ") +
                              commitError,
                          MessageIcon::Exclamation);
            outcome.failed = true;
        };
        for (const QString& path : paths) {
            bool stored = true;
            const ScanOutcome scan = ScanResponseFile(
                session, path,
                [&] {
                    d.RecordState |= DatabaseState::NewRecord;
                    stored = WriteResumes(session, 1);
                    d.RecordState &= ~kModeBits;
                    if (!stored)
                        return false;
                    marking.Stored(session.Tables);
                    ++outcome.total;
                    if (!batch.AfterRecord(&commitError, &lost)) {
                        commitFailed();
                        return false;
                    }
                    if (ui.CancelRequested()) {
                        outcome.stopped = true;
                        return false;
                    }
                    return true;
                },
                sourceBase);
            if (!scan.opened) {
                ui.MessageBox(QStringLiteral("Error reading Record from ") +
                                  QFileInfo(path).absoluteFilePath() + QStringLiteral(": ") +
                                  scan.error,
                              MessageIcon::Exclamation);
                outcome.failed = true;
            }
            if (scan.refused)
                ++outcome.refused;
            outcome.dropped += scan.dropped;
            // A record that could not be stored was reported by the writer;
            // going on would only repeat the message for every response.
            if (!stored)
                outcome.failed = true;
            if (outcome.failed || outcome.stopped || ui.CancelRequested()) {
                outcome.stopped = !outcome.failed;
                break;
            }
        }
        if (!batch.Finish(&commitError, &lost))
            commitFailed();
    }
    // Possible duplicates are marked once all is stored: one read of the
    // records stored before instead of a look-up for every record. An
    // import asked to stop ends at once; duplicates --mark marks its
    // records later.
    std::optional<int> duplicates;
    if (outcome.total > 0 && !outcome.stopped && !commitLost)
        duplicates = marking.Mark(&outcome.failed);
    QString done = QString::number(outcome.total) + doneText + d.CurrentDatabasePath;
    if (duplicates)
        done += QStringLiteral(", %1 possible duplicate(s)").arg(*duplicates);
    ui.SetStatusText(done);

    ShowRecordAfterImport(session);
    emit session.Events.FieldNamesChanged();
    return outcome;
}

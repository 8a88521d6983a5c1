#include "responses/ResponseImport.h"

#include "session/Session.h"
#include "database/DatabaseOpening.h"
#include "database/RecordWriter.h"
#include "responses/ImportDisplay.h"
#include "responses/ResponseFolder.h"
#include "responses/ResponseScan.h"
#include "database/UnsavedRecord.h"
#include "duplicates/ImportedDuplicates.h"
#include "responses/ImportRun.h"

#include <QDir>
#include <QFileInfo>

QStringList ExpandImportPaths(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files.append(path);
            continue;
        }
        QStringList found;
        WalkResponseFolder(path, [&](const QString& file) { found.append(file); });
        found.sort();
        files.append(found);
    }
    return files;
}

ImportOutcome ImportResume(Session& session, const ImportOptions& options)
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
    request.optionText = QStringLiteral("Import known messages again");
    const FileDialogResult chosen = ui.OpenFileDialog(request);
    if (chosen.cancelled || chosen.paths.isEmpty()) {
        ui.SetStatusText(QStringLiteral("Record import cancelled"));
        outcome.cancelled = true;
        return outcome;
    }
    ui.Yield();
    ImportOptions chosenOptions = options;
    chosenOptions.again = options.again || chosen.optionChecked;
    return ImportResponseFiles(session, chosen.paths, chosenOptions);
}

ImportOutcome ImportResponseFiles(Session& session, const QStringList& paths,
                                  const ImportOptions& options)
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
        ImportRun run(session, options.again);
        for (const QString& path : ExpandImportPaths(paths)) {
            const ScanOutcome scan = ScanResponseFile(
                session, path,
                [&] {
                    if (!run.StoreRecord())
                        return false;
                    marking.Stored(session.Tables);
                    return true;
                },
                options.sourceBase, &run);
            ScanItem whole;
            whole.source = QFileInfo(path).absoluteFilePath();
            if (!scan.opened) {
                ui.MessageBox(QStringLiteral("Error reading Record from ") + whole.source +
                                  QStringLiteral(": ") + scan.error,
                              MessageIcon::Exclamation);
                run.Fail(whole, scan.error);
                outcome.failed = true;
            }
            if (scan.refused) {
                ++outcome.refused;
                run.Fail(whole, QStringLiteral("not a text file or a mail message"));
            }
            outcome.dropped += scan.dropped;
            outcome.failed = outcome.failed || run.Failed();
            if (outcome.failed || run.Stopped() || ui.CancelRequested()) {
                outcome.stopped = !outcome.failed;
                break;
            }
        }
        run.Finish();
        outcome.failed = outcome.failed || run.Failed();
        outcome.tally = run.Tally();
        outcome.total = run.Stored();
        // Records a failed write or commit lost are not there to be marked.
        commitLost = run.Failed();
        outcome.writeFailed = commitLost;
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
    if (options.showTally)
        ui.MessageBox(QStringLiteral("Import finished: ") + outcome.tally.Line(),
                      MessageIcon::Information);

    ShowRecordAfterImport(session);
    emit session.Events.FieldNamesChanged();
    return outcome;
}

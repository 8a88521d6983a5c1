#include "mailbox/MailboxFetch.h"

#include "database/DatabaseOpening.h"
#include "database/UnsavedRecord.h"
#include "duplicates/ImportedDuplicates.h"
#include "ledger/ImportLedger.h"
#include "mailbox/ImapClient.h"
#include "platform/ErrorText.h"
#include "responses/ImportDisplay.h"
#include "responses/ImportRun.h"
#include "responses/MailReader.h"
#include "session/Session.h"

#include <exception>

namespace {

// Messages asked for in one FETCH: few enough to stop soon after a Cancel,
// many enough that the round trips cost little.
constexpr size_t kFetchGroup = 200;

QString FaultText(const ImapClient& client, const FetchRequest& request)
{
    const ImapAccount& account = request.account;
    const QString why = client.Error();
    switch (client.Fault()) {
    case ImapFault::Login:
        return QStringLiteral("the server refused the user name or password (%1)").arg(why);
    case ImapFault::Folder:
        return QStringLiteral("the folder \"%1\" cannot be opened (%2)").arg(account.folder, why);
    case ImapFault::Certificate:
        return QStringLiteral("the server's certificate was refused (%1); for a server with a "
                              "certificate of its own, %2")
            .arg(why, request.certificateHint);
    case ImapFault::NoStartTls:
        return QStringLiteral("the server does not offer STARTTLS, and mail is not read "
                              "unencrypted from another machine (%1)")
            .arg(why);
    case ImapFault::Connection:
        return QStringLiteral("the connection failed or was dropped (%1)").arg(why);
    case ImapFault::Other:
    case ImapFault::None:
        break;
    }
    return why;
}

} // namespace

FetchOutcome FetchResponses(Session& session, const FetchRequest& request)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    const ImapAccount& account = request.account;
    const QString name = account.Name();
    const QString prefix =
        QStringLiteral("Fetch from ") +
        (request.label.isEmpty() ? name : request.label + QStringLiteral(" (") + name + u')') +
        QStringLiteral(": ");
    FetchOutcome outcome;
    if (!d.CurrentDatabase) {
        ui.MessageBox(prefix + QStringLiteral("no database is open"), MessageIcon::Exclamation);
        outcome.failed = true;
        return outcome;
    }
    if (!StoreUnsavedRecord(session)) {
        ui.SetStatusText(QStringLiteral("Record import cancelled"));
        outcome.stopped = true;
        return outcome;
    }
    qint64 lastBefore = 0;
    try {
        lastBefore = LastRecordNumber(session);
    } catch (const std::exception&) {
        // The import's own writes report what is wrong with the file.
    }
    ui.SetStatusText(QStringLiteral("Importing records in to  ") + d.CurrentDatabasePath);
    ui.ClearCancelRequested();

    ImapClient client(account, request.password, request.caFile);
    qint64 uidValidity = 0;
    std::vector<qint64> uids;
    std::optional<qint64> highest;
    bool ready = client.Examine(&uidValidity);
    if (ready) {
        try {
            highest = ImportLedger(*d.CurrentDatabase).HighestUid(name, uidValidity);
        } catch (const std::exception& e) {
            ui.MessageBox(prefix + ErrorText(e), MessageIcon::Exclamation);
            outcome.failed = true;
            return outcome;
        }
        ready = client.Search(highest.value_or(0), request.filter, &uids);
    }
    if (!ready) {
        outcome.fault = client.Fault();
        ui.MessageBox(prefix + FaultText(client, request), MessageIcon::Exclamation);
        outcome.failed = true;
        // The folder could not be read: one failure.
        outcome.tally.failed = 1;
        ui.SetStatusText(QStringLiteral("0 Record(s) imported in to ") + d.CurrentDatabasePath);
        return outcome;
    }

    ProgressRequest progress;
    progress.caption = QStringLiteral("Fetching responses from ") + name;
    progress.maximum = static_cast<int>(uids.size());
    ui.ShowProgress(progress);
    ImportedDuplicates marking(session, lastBefore);
    marking.Start();
    bool lost = false;
    {
        BusyPointer busy(ui);
        ImportRun run(session, request.again);
        const QString recordSource =
            name + QStringLiteral(";UIDVALIDITY=%1/;UID=").arg(uidValidity);
        int done = 0;
        for (size_t first = 0; first < uids.size() && !run.Failed() && !run.Stopped();
             first += kFetchGroup) {
            const std::vector<qint64> group(uids.begin() + static_cast<std::ptrdiff_t>(first),
                                            uids.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                               uids.size(), first + kFetchGroup)));
            qint64 lastTaken = 0;
            bool partial = false;
            const bool fetched = client.Fetch(
                group,
                [&](ImapClient::Message&& message) {
                    lastTaken = message.uid;
                    if (run.Failed() || run.Stopped())
                        return;
                    MailReader reader;
                    reader.OpenBytes(message.raw);
                    ScanItem item;
                    item.source = name;
                    item.uidValidity = uidValidity;
                    item.uid = message.uid;
                    ScanOutcome scan;
                    scan.fileDate = session.Now.Now().date();
                    const int readBefore = run.Tally().Read();
                    ScanMailMessages(
                        session, reader, recordSource + QString::number(message.uid), false, item,
                        scan,
                        [&] {
                            if (!run.StoreRecord())
                                return false;
                            marking.Stored(session.Tables);
                            return true;
                        },
                        &run);
                    if (run.Tally().Read() == readBefore) {
                        item.number = 1;
                        run.Fail(item, QStringLiteral("not a mail message"));
                    }
                    ui.UpdateProgressCount(++done, static_cast<qint64>(uids.size()));
                    ui.Yield();
                },
                &partial);
            if (!fetched || partial) {
                if (partial) {
                    // The message cut short is the one after the last whole.
                    ScanItem cut;
                    cut.source = name;
                    cut.uidValidity = uidValidity;
                    const auto next = std::upper_bound(group.begin(), group.end(), lastTaken);
                    cut.uid = next == group.end() ? group.front() : *next;
                    cut.number = 1;
                    run.Fail(cut, QStringLiteral("the connection was dropped during the message"));
                }
                ui.MessageBox(prefix + FaultText(client, request) +
                                  QStringLiteral("; the messages read before are stored, and the "
                                                 "next fetch goes on from there"),
                              MessageIcon::Exclamation);
                outcome.failed = true;
                outcome.fault = client.Fault();
                break;
            }
            if (ui.CancelRequested())
                break;
        }
        run.Finish();
        outcome.failed = outcome.failed || run.Failed();
        outcome.stopped = !outcome.failed && (run.Stopped() || ui.CancelRequested());
        outcome.tally = run.Tally();
        // Records a failed write or commit lost are not there to be marked.
        lost = run.Failed();
    }
    ui.CloseProgress();
    std::optional<int> duplicates;
    if (outcome.tally.stored > 0 && !outcome.stopped && !lost)
        duplicates = marking.Mark(&outcome.failed);
    QString text = QString::number(outcome.tally.stored) +
                   QStringLiteral(" Record(s) imported in to ") + d.CurrentDatabasePath;
    if (duplicates)
        text += QStringLiteral(", %1 possible duplicate(s)").arg(*duplicates);
    ui.SetStatusText(text);
    ShowRecordAfterImport(session);
    emit session.Events.FieldNamesChanged();
    return outcome;
}

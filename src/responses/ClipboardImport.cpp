#include "responses/ClipboardImport.h"

#include "duplicates/ImportedDuplicates.h"

#include "platform/ErrorText.h"
#include "responses/ImportRun.h"
#include "responses/MailFormat.h"
#include "responses/MessageHash.h"
#include "responses/PastedResponse.h"

#include "session/Session.h"
#include "database/DatabaseOpening.h"
#include "database/RecordWriter.h"
#include "responses/ImportDisplay.h"
#include "responses/ResponseParser.h"
#include "platform/ResponseText.h"
#include "database/UnsavedRecord.h"

#include <QRegularExpression>
#include <exception>

namespace {

constexpr int kModeBits =
    DatabaseState::NewRecord | DatabaseState::EditRecord | 4 | DatabaseState::NoRecords;

const QString kSource = QStringLiteral("Clipboard");
const QString kNoRecordText = QStringLiteral("No valid Record found in clipboard data");
const QString kCancelled = QStringLiteral("Clipboard import cancelled");

// How the ledger names a pasted text: a message by its Message-ID and raw
// hash, a bare response by the hash of its body.
ScanItem ClipboardItem(const QString& text, bool isMessage)
{
    ScanItem item;
    item.source = kSource;
    item.number = 1;
    const QByteArray utf8 = text.toUtf8();
    if (!isMessage) {
        item.sha256 = MessageHash::Of(FirstResponseBody(text).toUtf8());
        return item;
    }
    item.sha256 = MessageHash::Of(utf8);
    static const QRegularExpression id(QStringLiteral("^Message-ID:[ \\t]*<([^>\\r\\n]*)>"),
                                       QRegularExpression::MultilineOption |
                                           QRegularExpression::CaseInsensitiveOption);
    const qsizetype headerEnd = text.indexOf(QRegularExpression(QStringLiteral("\\r?\\n\\r?\\n")));
    const QRegularExpressionMatch match =
        id.match(text.left(headerEnd < 0 ? text.size() : headerEnd));
    if (match.hasMatch())
        item.messageId = match.captured(1).toUtf8();
    return item;
}

} // namespace

QString FirstResponseBody(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QString body;
    bool started = false;
    for (const QString& raw : text.split(lineBreak)) {
        const QString line = TrimBlanks(raw);
        if (!started) {
            if (StartsResponseBody(line)) {
                body = line;
                started = true;
            }
            continue;
        }
        if (line.isEmpty() || IsPlainTextLine(line))
            break;
        body.append(line);
    }
    return body;
}

int ReadClipboardRecord(Session& session, const QString& text, const QDate& date)
{
    // A whole pasted or dropped message is read as mail: its text part,
    // decoded, gives the first response.
    const MailFileKind kind = DetectMailFileKind(text.toUtf8(), true);
    if (kind == MailFileKind::Message || kind == MailFileKind::Mbox ||
        kind == MailFileKind::AppleMail)
        return ReadPastedRecord(session, text, date, kSource);
    const QString body = FirstResponseBody(text);
    if (body.isEmpty())
        return kNoRecord;
    session.Tables.ClearRecordTables();
    return ReadRecord(session.Tables, session.ui, session.RegionalSettings, body, date, kSource,
                      nullptr);
}

ClipboardImportOutcome ImportClipboardText(Session& session, const QString& text, bool again)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    ClipboardImportOutcome outcome;
    // The response passes through the record in memory: the record on
    // screen is left first, as moving to another record leaves it.
    if (!StoreUnsavedRecord(session)) {
        ui.SetStatusText(kCancelled);
        return outcome;
    }
    BusyPointer busy(ui);
    try {
        ImportedDuplicates marking(session, LastRecordNumber(session));
        marking.Start();
        const int result = ReadClipboardRecord(session, text, session.Now.Now().date());
        const MailFileKind kind = DetectMailFileKind(text.toUtf8(), true);
        const ScanItem item =
            ClipboardItem(text, kind == MailFileKind::Message || kind == MailFileKind::Mbox ||
                                    kind == MailFileKind::AppleMail);
        ImportRun run(session, again);
        if (result == kRecordRead && run.Skip(item)) {
            run.Finish();
            outcome.tally = run.Tally();
            ui.MessageBox(QStringLiteral("The response in the clipboard was imported before; "
                                         "nothing was stored. Tick \"Import known messages "
                                         "again\" to store it once more."),
                          MessageIcon::Information);
            ui.SetStatusText(kCancelled);
        } else if (result == kRecordRead) {
            session.Tables.RemoveBlankRecords();
            const bool stored = run.StoreRecord();
            run.Done(item, stored ? 1 : 0, 0);
            run.Finish();
            outcome.tally = run.Tally();
            if (stored && !run.Failed()) {
                outcome.imported = true;
                marking.Stored(session.Tables);
                QString done = QStringLiteral("1 record read from clipboard");
                if (const std::optional<int> duplicates = marking.Mark(&outcome.failed))
                    done += QStringLiteral(", %1 possible duplicate(s)").arg(*duplicates);
                ui.SetStatusText(done);
            } else {
                // The writer showed why; nothing was stored.
                outcome.failed = true;
                ui.SetStatusText(kCancelled);
            }
        } else {
            run.Done(item, 0, result == kRecordDropped ? 1 : 0);
            run.Finish();
            outcome.tally = run.Tally();
            // A record too large for the tables was reported by the reader.
            if (result == kNoRecord)
                ui.MessageBox(kNoRecordText, MessageIcon::Exclamation);
            ui.SetStatusText(kCancelled);
        }
    } catch (const std::exception& e) {
        d.RecordState &= ~kModeBits;
        outcome.failed = true;
        ui.MessageBox(QStringLiteral("Error reading record from clipboard: ") + ErrorText(e),
                      MessageIcon::Exclamation);
    }
    ShowRecordAfterImport(session);
    emit session.Events.FieldNamesChanged();
    return outcome;
}

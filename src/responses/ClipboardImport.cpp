#include "responses/ClipboardImport.h"

#include "duplicates/ImportedDuplicates.h"

#include "platform/ErrorText.h"
#include "responses/MailFormat.h"
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

ClipboardImportOutcome ImportClipboardText(Session& session, const QString& text)
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
        if (result == kRecordRead) {
            session.Tables.RemoveBlankRecords();
            d.RecordState |= DatabaseState::NewRecord;
            const bool stored = WriteResumes(session, 1);
            d.RecordState &= ~kModeBits;
            if (stored) {
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

#include "responses/ClipboardImport.h"

#include "responses/MailFormat.h"
#include "responses/PastedResponse.h"

#include "app/Session.h"
#include "database/DatabaseOpening.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"
#include "responses/ResponseParser.h"
#include "responses/ResponseText.h"

#include <QRegularExpression>
#include <exception>

namespace {

constexpr int kModeBits =
    DatabaseState::NewRecord | DatabaseState::EditRecord | 4 | DatabaseState::NoRecords;

const QString kSource = QStringLiteral("Clipboard");
const QString kNoRecordText = QStringLiteral("No valid Record found in clipboard data");
const QString kCancelled = QStringLiteral("Clipboard import cancelled");

// The summary moves to the new (last) record unless it shows a search
// result; the viewer follows the record now in memory.
void BringWindowsUpToDate(Session& session)
{
    if (!session.Database.SummaryFiltered && session.Database.CurrentDatabase)
        ReloadSummary(session, std::nullopt);
    emit session.Events.RecordLoaded();
}

// The record in memory is not one of the database's: the viewer gets an
// empty new record instead.
void ResetViewer(Session& session)
{
    QString error;
    if (!NewResume(session, &error))
        session.ui.MessageBox(QStringLiteral("Error initializing Record: ") + error,
                              MessageIcon::Exclamation);
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

ClipboardImportOutcome ImportClipboardText(Session& session, const QString& text)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    ClipboardImportOutcome outcome;
    BusyPointer busy(ui);
    try {
        const int result = ReadClipboardRecord(session, text, session.Now.Now().date());
        if (result == kRecordRead) {
            session.Tables.RemoveBlankRecords();
            d.RecordState |= DatabaseState::NewRecord;
            const bool stored = WriteResumes(session, 1);
            d.RecordState &= ~kModeBits;
            if (stored) {
                outcome.imported = true;
                ui.SetStatusText(QStringLiteral("1 record read from clipboard"));
            } else {
                // The writer showed why; nothing was stored.
                outcome.failed = true;
                ui.SetStatusText(kCancelled);
                ResetViewer(session);
            }
        } else {
            // A record too large for the tables was reported by the reader.
            if (result == kNoRecord)
                ui.MessageBox(kNoRecordText, MessageIcon::Exclamation);
            ui.SetStatusText(kCancelled);
            // A body that failed to decode leaves part of a record that
            // is in no database; a text without a body leaves the tables.
            if (session.Tables.Header(RecordTables::FormIdColumn).isEmpty())
                ResetViewer(session);
        }
    } catch (const std::exception& e) {
        d.RecordState &= ~kModeBits;
        outcome.failed = true;
        ui.MessageBox(QStringLiteral("Error reading record from clipboard: ") +
                          QString::fromUtf8(e.what()),
                      MessageIcon::Exclamation);
        ResetViewer(session);
    }
    BringWindowsUpToDate(session);
    emit session.Events.FieldNamesChanged();
    return outcome;
}

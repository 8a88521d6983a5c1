#include "responses/ResponseScan.h"

#include "platform/Sha256.h"
#include "platform/Logging.h"

#include "session/Session.h"
#include "responses/CsvScan.h"
#include "responses/MailFormat.h"
#include "responses/MailReader.h"
#include "responses/MessageRecords.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"

#include <QDir>
#include <QHash>
#include <QFile>
#include <QFileInfo>

QByteArray RepeatedItemHashes::Of(const QByteArray& itemHash)
{
    Sha256 named;
    named.Add(itemHash);
    named.Add(QByteArray::number(++m_seen[itemHash]));
    return named.Result().toHex();
}

void TellNoRecord(Session& session, const QString& fullPath)
{
    session.ui.MessageBox(QStringLiteral("No valid Record in file \r\n") + fullPath,
                          MessageIcon::Exclamation);
}

namespace {

QString Records(int records)
{
    return QString::number(records) +
           (records == 1 ? QStringLiteral(" record") : QStringLiteral(" records"));
}

QString ReadingExplained(const MessageReading& reading)
{
    if (reading.records == 0 && reading.dropped == 0)
        return QStringLiteral("no record: ") + reading.why;
    QString text =
        LayoutName(reading.layout) + QStringLiteral(", recognised: ") + Records(reading.records);
    if (reading.dropped > 0)
        text += QStringLiteral(", %1 too large to store").arg(reading.dropped);
    return text;
}

// Plain text: responses found line by line, all dated with the file's date.
void ScanPlainFile(Session& session, const QString& fullPath, const QString& source,
                   const QDate& date, ResponseFile& file, ScanOutcome& outcome,
                   const std::function<bool()>& onRecord, ScanItems* items)
{
    int result = kRecordRead;
    bool told = false;
    Sha256 body;
    RepeatedItemHashes hashes;
    ScanItem item;
    item.source = source;
    while (!file.AtEnd() && result > kNoRecord) {
        session.Tables.ClearRecordTables();
        body.Reset();
        result = ReadRecord(session.Tables, session.ui, session.RegionalSettings, QString(), date,
                            source, &file, items ? &body : nullptr);
        if (result == kNoRecord) {
            if (outcome.records == 0 && outcome.dropped == 0) {
                TellNoRecord(session, fullPath);
                told = true;
            }
            break;
        }
        ++item.number;
        if (items)
            item.sha256 = hashes.Of(body.Result());
        if (result == kRecordDropped) {
            ++outcome.dropped;
            if (items && !items->Done(item, 0, 1)) {
                outcome.stopped = true;
                break;
            }
            continue;
        }
        if (items && items->Skip(item))
            continue;
        session.Tables.RemoveBlankRecords();
        ++outcome.records;
        const bool goOn = onRecord();
        if (!(items ? items->Done(item, 1, 0) && goOn : goOn)) {
            outcome.stopped = true;
            break;
        }
    }
    if (items) {
        ScanItem whole;
        whole.source = source;
        items->Explained(whole, outcome.records + outcome.dropped > 0
                                    ? QStringLiteral("plain text, read by the plain-text rules: ") +
                                          Records(outcome.records)
                                    : QStringLiteral("no record: no response in plain text"));
    }
    // An empty file holds no response either.
    if (item.number == 0 && !told && !outcome.stopped)
        TellNoRecord(session, fullPath);
    // A file without a response is read all the same: the ledger keeps a
    // row for it.
    if (item.number == 0 && items && !outcome.stopped && !items->Done(item, 0, 0))
        outcome.stopped = true;
}

} // namespace

void ScanMailMessages(Session& session, MailReader& reader, const QString& recordSource,
                      bool numbered, ScanItem item, ScanOutcome& outcome,
                      const std::function<bool()>& onRecord, ScanItems* items)
{
    MailMessage message;
    const QDate fileDate = outcome.fileDate;
    while (!outcome.stopped && reader.Next(message)) {
        ++item.number;
        const QDate date = message.date.isValid() ? message.date.date() : fileDate;
        const QString source = numbered
                                   ? recordSource + QLatin1Char('#') + QString::number(item.number)
                                   : recordSource;
        item.messageId = std::move(message.messageId);
        item.sha256 = std::move(message.sha256);
        if (items && items->Skip(item)) {
            ++outcome.known;
            continue;
        }
        const MessageReading reading = ReadMessageRecords(session, message, date, source, [&] {
            ++outcome.records;
            return onRecord();
        });
        outcome.dropped += reading.dropped;
        outcome.stopped = reading.stopped;
        if (items)
            items->Explained(item, ReadingExplained(reading));
        // Also after a stop: what the message gave is kept with its row.
        if (items && !items->Done(item, reading.records, reading.dropped))
            outcome.stopped = true;
    }
}

ScanOutcome ScanResponseFile(Session& session, const QString& path,
                             const std::function<bool()>& onRecord, const QString& sourceBase,
                             ScanItems* items)
{
    ScanOutcome outcome;
    const QFileInfo info(path);
    const QString fullPath = info.absoluteFilePath();
    const QString source =
        sourceBase.isEmpty() ? fullPath : QDir(sourceBase).relativeFilePath(fullPath);
    ResponseFile file;
    // A pipe, device or socket would be waited on for ever at opening
    // (a pipe without a writer) and could be read only once, where a file
    // is read twice (its head first, to tell its kind).
    if (info.exists() && !info.isDir() && !info.isFile()) {
        outcome.error = QStringLiteral("Not a regular file (a pipe, a device or a socket); save "
                                       "its text to a file and import that");
        return outcome;
    }
    if (info.isDir() || !file.Open(fullPath)) {
        outcome.error = info.isDir() ? QStringLiteral("Is a directory") : file.ErrorString();
        return outcome;
    }
    outcome.opened = true;
    const QDate date = info.lastModified().date();
    outcome.fileDate = date;

    QFile headFile(fullPath);
    QByteArray head;
    bool wholeFile = true;
    if (headFile.open(QIODevice::ReadOnly)) {
        head = headFile.read(kMailHeadBytes);
        wholeFile = headFile.atEnd();
    }
    headFile.close();
    const MailFileKind kind = DetectMailFileKind(head, wholeFile);
    qCInfo(lcResponses, "reading %s as %s", qPrintable(fullPath),
           kind == MailFileKind::PlainText ? "plain text" : "a mail file or another kind");

    const bool csv = IsCsvFileName(fullPath) && kind != MailFileKind::Binary &&
                     kind != MailFileKind::OutlookMessage;
    if (csv) {
        file.Close();
        ScanCsvFile(session, fullPath, source, outcome, onRecord, items);
        if (items) {
            ScanItem whole;
            whole.source = source;
            items->Explained(whole, QStringLiteral("CSV export, a record a row: ") +
                                        Records(outcome.records));
        }
        return outcome;
    }
    switch (kind) {
    case MailFileKind::PlainText:
        ScanPlainFile(session, fullPath, source, date, file, outcome, onRecord, items);
        break;
    case MailFileKind::OutlookMessage:
        session.ui.MessageBox(
            QStringLiteral("Cannot read Outlook message files \r\n") + fullPath +
                QStringLiteral("\r\nSave the message as text or as a mail message (.eml) in "
                               "Outlook, then import that file."),
            MessageIcon::Exclamation);
        outcome.refused = true;
        break;
    case MailFileKind::Binary:
        session.ui.MessageBox(QStringLiteral("Not a text file or a mail message \r\n") + fullPath,
                              MessageIcon::Exclamation);
        outcome.refused = true;
        break;
    case MailFileKind::Message:
    case MailFileKind::Mbox:
    case MailFileKind::AppleMail: {
        file.Close();
        MailReader reader;
        if (!reader.OpenFile(fullPath, kind, &outcome.error)) {
            outcome.opened = false;
            return outcome;
        }
        ScanItem item;
        item.source = source;
        ScanMailMessages(session, reader, source, kind == MailFileKind::Mbox, item, outcome,
                         onRecord, items);
        if (outcome.records == 0 && outcome.dropped == 0 && outcome.known == 0 && !outcome.stopped)
            TellNoRecord(session, fullPath);
        break;
    }
    }
    file.Close();
    return outcome;
}

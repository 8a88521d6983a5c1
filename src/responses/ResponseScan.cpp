#include "responses/ResponseScan.h"
#include "platform/Logging.h"

#include "session/Session.h"
#include "responses/CharacterReferences.h"
#include "responses/MailFormat.h"
#include "responses/MailReader.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void TellNoRecord(Session& session, const QString& fullPath)
{
    session.ui.MessageBox(QStringLiteral("No valid Record in file \r\n") + fullPath,
                          MessageIcon::Exclamation);
}

// Plain text: responses found line by line, all dated with the file's date.
void ScanPlainFile(Session& session, const QString& fullPath, const QString& source,
                   const QDate& date, ResponseFile& file, ScanOutcome& outcome,
                   const std::function<bool()>& onRecord)
{
    int result = kRecordRead;
    bool told = false;
    while (!file.AtEnd() && result > kNoRecord) {
        session.Tables.ClearRecordTables();
        result = ReadRecord(session.Tables, session.ui, session.RegionalSettings, QString(), date,
                            source, &file);
        if (result == kRecordRead) {
            session.Tables.RemoveBlankRecords();
            ++outcome.records;
            if (!onRecord()) {
                outcome.stopped = true;
                break;
            }
        } else if (result == kRecordDropped) {
            ++outcome.dropped;
        } else if (result == kNoRecord && outcome.records == 0 && outcome.dropped == 0) {
            TellNoRecord(session, fullPath);
            told = true;
        }
    }
    // An empty file holds no response either.
    if (outcome.records == 0 && outcome.dropped == 0 && !told && !outcome.stopped)
        TellNoRecord(session, fullPath);
}

// Saved mail: every response of every message's text.
void ScanMailFile(Session& session, const QString& fullPath, const QString& fileSource,
                  const QDate& fileDate, MailReader& reader, bool numbered, ScanOutcome& outcome,
                  const std::function<bool()>& onRecord)
{
    MailMessage message;
    ResponseFile text;
    int number = 0;
    while (!outcome.stopped && reader.Next(message)) {
        ++number;
        const QDate date = message.date.isValid() ? message.date.date() : fileDate;
        const QString source =
            numbered ? fileSource + QLatin1Char('#') + QString::number(number) : fileSource;
        text.Open(message.body);
        int result = kRecordRead;
        while (!text.AtEnd() && result > kNoRecord) {
            session.Tables.ClearRecordTables();
            result = ReadRecord(session.Tables, session.ui, session.RegionalSettings, QString(),
                                date, source, &text);
            if (result == kRecordRead) {
                session.Tables.RemoveBlankRecords();
                DecodeRecordCharacterReferences(session.Tables);
                ++outcome.records;
                if (!onRecord()) {
                    outcome.stopped = true;
                    break;
                }
            } else if (result == kRecordDropped) {
                ++outcome.dropped;
            }
        }
    }
    if (outcome.records == 0 && outcome.dropped == 0 && !outcome.stopped)
        TellNoRecord(session, fullPath);
}

} // namespace

ScanOutcome ScanResponseFile(Session& session, const QString& path,
                             const std::function<bool()>& onRecord, const QString& sourceBase)
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

    switch (kind) {
    case MailFileKind::PlainText:
        ScanPlainFile(session, fullPath, source, date, file, outcome, onRecord);
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
        ScanMailFile(session, fullPath, source, date, reader, kind == MailFileKind::Mbox, outcome,
                     onRecord);
        break;
    }
    }
    file.Close();
    return outcome;
}

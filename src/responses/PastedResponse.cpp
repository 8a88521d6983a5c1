#include "responses/PastedResponse.h"

#include "session/Session.h"
#include "responses/CharacterReferences.h"
#include "responses/MailFormat.h"
#include "responses/MailReader.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"

#include <QBuffer>

namespace {

// The first response of one text, read line by line.
int ReadFirstResponse(Session& session, QIODevice* device, const QDate& date, const QString& source)
{
    ResponseFile lines;
    lines.Open(device);
    session.Tables.ClearRecordTables();
    return ReadRecord(session.Tables, session.ui, session.RegionalSettings, QString(), date, source,
                      &lines);
}

} // namespace

int ReadPastedRecord(Session& session, const QString& text, const QDate& date,
                     const QString& source)
{
    QByteArray bytes = text.toUtf8();
    const MailFileKind kind = DetectMailFileKind(bytes, true);
    const bool mail = kind == MailFileKind::Message || kind == MailFileKind::Mbox ||
                      kind == MailFileKind::AppleMail;
    int result = kNoRecord;
    if (mail) {
        MailReader reader;
        reader.OpenText(bytes, kind);
        MailMessage message;
        // The first message with a response holds the first response.
        while (result != kRecordRead && reader.Next(message))
            result = ReadFirstResponse(session, message.body, date, source);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        result = ReadFirstResponse(session, &buffer, date, source);
    }
    if (result != kRecordRead)
        return kNoRecord;
    session.Tables.RemoveBlankRecords();
    if (mail)
        DecodeRecordCharacterReferences(session.Tables);
    return kRecordRead;
}

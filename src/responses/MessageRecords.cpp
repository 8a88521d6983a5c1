#include "responses/MessageRecords.h"

#include "responses/CharacterReferences.h"
#include "responses/FieldRecord.h"
#include "responses/JsonLayout.h"
#include "responses/LabelLayout.h"
#include "responses/MailReader.h"
#include "responses/PrefixedDevice.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"
#include "responses/TextPostLayout.h"
#include "session/Session.h"

namespace {

// Reads up to kLayoutTextBytes and one more of the text; whole tells
// whether that was all of it.
QByteArray ReadHead(QIODevice& body, bool* whole)
{
    QByteArray head;
    constexpr qsizetype kChunk = 64 * 1024;
    for (;;) {
        const qsizetype had = head.size();
        if (had > kLayoutTextBytes) {
            *whole = false;
            return head;
        }
        head.resize(had + kChunk);
        const qint64 got = body.read(head.data() + had, kChunk);
        head.resize(had + std::max<qint64>(got, 0));
        if (got <= 0) {
            *whole = true;
            return head;
        }
    }
}

QStringList Lines(const QByteArray& text)
{
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

// One record of fields read whole.
void StoreOne(Session& session, const FormFields& fields, const QDate& date, const QString& source,
              const std::function<bool()>& onRecord, MessageReading& reading)
{
    session.Tables.ClearRecordTables();
    try {
        StoreFormFields(session.Tables, session.RegionalSettings, fields, date, source);
    } catch (const RecordTablesError& e) {
        session.ui.MessageBox(e.Message(), MessageIcon::Exclamation);
        ++reading.dropped;
        return;
    }
    session.Tables.RemoveBlankRecords();
    ++reading.records;
    reading.stopped = !onRecord();
}

void ReadUrlEncoded(Session& session, QIODevice& text, const QDate& date, const QString& source,
                    const std::function<bool()>& onRecord, MessageReading& reading)
{
    ResponseFile file;
    file.Open(&text);
    int result = kRecordRead;
    while (!file.AtEnd() && result > kNoRecord) {
        session.Tables.ClearRecordTables();
        result = ReadRecord(session.Tables, session.ui, session.RegionalSettings, QString(), date,
                            source, &file, nullptr, BodyRule::Mail);
        if (result == kRecordRead) {
            session.Tables.RemoveBlankRecords();
            DecodeRecordCharacterReferences(session.Tables);
            ++reading.records;
            if (!onRecord()) {
                reading.stopped = true;
                return;
            }
        } else if (result == kRecordDropped) {
            ++reading.dropped;
        }
    }
}

} // namespace

QString LayoutName(MessageLayout layout)
{
    switch (layout) {
    case MessageLayout::UrlEncoded:
        return QStringLiteral("url-encoded");
    case MessageLayout::TextPost:
        return QStringLiteral("text/plain post");
    case MessageLayout::Labels:
        return QStringLiteral("label lines");
    case MessageLayout::HtmlTable:
        return QStringLiteral("HTML table");
    case MessageLayout::Json:
        return QStringLiteral("JSON");
    }
    return QString();
}

MessageReading ReadMessageRecords(Session& session, MailMessage& message, const QDate& date,
                                  const QString& source, const std::function<bool()>& onRecord)
{
    MessageReading reading;
    bool whole = false;
    QByteArray head = ReadHead(*message.body, &whole);
    if (whole && LooksLikeJson(head)) {
        reading.layout = MessageLayout::Json;
        FormFields fields;
        QString error;
        if (ReadJsonFields(head, &fields, &error))
            StoreOne(session, fields, date, source, onRecord, reading);
        else
            reading.why = QStringLiteral("malformed JSON: ") + error;
        return reading;
    }
    if (whole && LooksLikeTextPost(head)) {
        reading.layout = MessageLayout::TextPost;
        StoreOne(session, ReadTextPost(Lines(head)), date, source, onRecord, reading);
        return reading;
    }
    PrefixedDevice text;
    text.Reset(head, message.body);
    ReadUrlEncoded(session, text, date, source, onRecord, reading);
    if (reading.records > 0 || reading.dropped > 0 || !whole)
        return reading;
    if (IsFormNotificationSubject(message.subject)) {
        if (message.htmlTable.size() >= kMinLabelLines) {
            reading.layout = MessageLayout::HtmlTable;
            StoreOne(session, message.htmlTable, date, source, onRecord, reading);
            return reading;
        }
        const FormFields fields = ReadLabelLines(Lines(head));
        if (!fields.isEmpty()) {
            reading.layout = MessageLayout::Labels;
            StoreOne(session, fields, date, source, onRecord, reading);
            return reading;
        }
        reading.why = QStringLiteral("no line a form's encoding could have written, and fewer "
                                     "than %1 label lines")
                          .arg(kMinLabelLines);
        return reading;
    }
    reading.why = QStringLiteral("no line a form's encoding could have written");
    return reading;
}

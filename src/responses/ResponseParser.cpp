#include "responses/ResponseParser.h"

#include "platform/Regional.h"
#include "platform/Ui.h"
#include "responses/RecordTables.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseText.h"

namespace {

// Reads the next body from the file: skips lines until one starts a body,
// then appends following lines until an empty or plain one (which is
// consumed) or the end of the file.
QByteArray ReadBody(ResponseFile& file)
{
    QByteArray line;
    QByteArray body;
    while (file.ReadLine(line)) {
        const QByteArray trimmed = TrimBlanks(line);
        if (StartsResponseBody(QString::fromLatin1(trimmed))) {
            body = trimmed;
            break;
        }
    }
    if (body.isEmpty())
        return body;
    while (file.ReadLine(line)) {
        const QByteArray trimmed = TrimBlanks(line);
        if (trimmed.isEmpty() || IsPlainTextLine(QString::fromLatin1(trimmed)))
            break;
        body.append(trimmed);
    }
    return body;
}

} // namespace

bool StartsResponseBody(const QString& trimmedLine)
{
    return trimmedLine.indexOf(QLatin1Char('=')) >= 1 && !IsPlainTextLine(trimmedLine);
}

int ReadRecord(RecordTables& tables, Ui& ui, const Regional& regional, const QString& text,
               const QDate& date, const QString& source, ResponseFile* file)
{
    int result = kNoRecord;
    QByteArray body;
    if (!text.isEmpty())
        body = text.toUtf8();
    else if (file)
        body = ReadBody(*file);
    if (body.isEmpty())
        return kNoRecord;

    constexpr int F = RecordTables::kFieldTable;
    try {
        qsizetype start = 0;
        while (start <= body.size()) {
            qsizetype end = body.indexOf('&', start);
            if (end < 0)
                end = body.size();
            const QByteArray pair = body.mid(start, end - start);
            start = end + 1;
            const qsizetype eq = pair.indexOf('=');
            if (eq < 0)
                continue;
            const QString name = TrimBlanks(DecodeResponseBytes(pair.left(eq)));
            const QString value = DecodeResponseBytes(pair.mid(eq + 1));
            tables.PutArrayElement(F, RecordTables::FieldNameColumn, name);
            tables.PutArrayElement(F, RecordTables::FieldValueColumn, value);
            if (tables.CurrentRow[F] == 0) {
                tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::NameColumn, value);
                tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::DateColumn,
                                       regional.DateToText(date));
                tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::SourceColumn,
                                       source);
            }
            tables.CurrentRow[F] = static_cast<qint16>(tables.CurrentRow[F] + 1);
            result = kRecordRead;
        }
    } catch (const DecodeError& e) {
        ui.MessageBox(QStringLiteral("Error reading data: ") + QString::fromUtf8(e.what()),
                      MessageIcon::Exclamation);
        return kNoRecord;
    } catch (const RecordTablesError& e) {
        // Too many fields for one record: the response is dropped, and the
        // caller goes on with the next one.
        ui.MessageBox(e.Message(), MessageIcon::Exclamation);
        return kRecordDropped;
    }
    return result;
}

#include "responses/CharacterReferences.h"

#include "session/RecordTables.h"

QString DecodeCharacterReferences(const QString& text)
{
    qsizetype at = text.indexOf(QLatin1String("&#"));
    if (at < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    for (; at >= 0; at = text.indexOf(QLatin1String("&#"), at + 1)) {
        if (at < copied)
            continue;
        qsizetype i = at + 2;
        const bool hex =
            i < text.size() && (text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'));
        if (hex)
            ++i;
        const qsizetype digitsStart = i;
        char32_t code = 0;
        bool tooLarge = false;
        for (; i < text.size(); ++i) {
            const QChar c = text[i];
            int digit = -1;
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                digit = c.unicode() - '0';
            else if (hex && c >= QLatin1Char('a') && c <= QLatin1Char('f'))
                digit = c.unicode() - 'a' + 10;
            else if (hex && c >= QLatin1Char('A') && c <= QLatin1Char('F'))
                digit = c.unicode() - 'A' + 10;
            if (digit < 0)
                break;
            code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
            // Stop growing past the last code point; the reference stays.
            if (code > 0x10FFFF) {
                tooLarge = true;
                code = 0x110000;
            }
        }
        if (i == digitsStart || i >= text.size() || text[i] != QLatin1Char(';') || tooLarge ||
            code == 0 || (code >= 0xD800 && code <= 0xDFFF))
            continue;
        out.append(QStringView(text).sliced(copied, at - copied));
        out.append(QString::fromUcs4(&code, 1));
        copied = i + 1;
    }
    out.append(QStringView(text).sliced(copied));
    return out;
}

void DecodeRecordCharacterReferences(RecordTables& tables)
{
    constexpr int F = RecordTables::kFieldTable;
    const qint16 saved = tables.CurrentRow[F];
    for (qint16 row = 0; row < tables.RowCount[F]; ++row) {
        const QString value = tables.Field(row, RecordTables::FieldValueColumn);
        // Most values hold no "&" at all, which the search for one
        // character tells fastest.
        if (!value.contains(QLatin1Char('&')) || !value.contains(QLatin1String("&#")))
            continue;
        tables.CurrentRow[F] = row;
        const QString decoded = DecodeCharacterReferences(value);
        tables.PutArrayElement(F, RecordTables::FieldValueColumn, decoded);
    }
    tables.CurrentRow[F] = saved;
    const QString name = tables.Header(RecordTables::NameColumn);
    if (name.contains(QLatin1String("&#")))
        tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::NameColumn,
                               DecodeCharacterReferences(name));
}

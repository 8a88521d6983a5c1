#include "platform/SchemaLines.h"

#include "platform/Numbers.h"

#include <QRegularExpression>
#include <map>

namespace {

const std::map<int, const char*>& Lines()
{
    static const std::map<int, const char*> lines = {
        {1, "100"},
        {2, "200"},
        {100, "Forms,X,5,0"},
        {101, "FormID,L,4,0"},
        {102, "Form_Name,M,256,0"},
        {103, "Form_Notes,M,256,0"},
        {104, "Form_Date,D,8,0"},
        {105, "File_Name,T,255,0"},
        {200, "Data,Z,3,0"},
        {201, "DataID,L,4,0"},
        {202, "Field_Name,T,255,0"},
        {203, "Field_Value,M,256,0"},
    };
    return lines;
}

qint16 KindOfLetter(const QString& letter, qint16 typeBefore)
{
    static const std::map<QString, qint16> letters = {
        {QStringLiteral("T"), kTextColumn},       {QStringLiteral("M"), kMemoColumn},
        {QStringLiteral("L"), kLongColumn},       {QStringLiteral("C"), kCurrencyColumn},
        {QStringLiteral("D"), kDateColumn},       {QStringLiteral("B"), kBooleanColumn},
        {QStringLiteral("I"), kIntegerColumn},    {QStringLiteral("S"), kSingleColumn},
        {QStringLiteral("O"), kDoubleColumn},     {QStringLiteral("Y"), kByteColumn},
        {QStringLiteral("N"), kLongBinaryColumn}, {QStringLiteral("Z"), kDetailTable},
        {QStringLiteral("X"), kMasterTable},
    };
    const auto found = letters.find(letter);
    return found == letters.end() ? typeBefore : found->second;
}

} // namespace

SchemaLine ParseSchemaLine(const QString& line, qint16 typeBefore)
{
    // A column ends at a comma, or at the last character of the line, which
    // then belongs to the column even when it is a comma.
    QStringList columns;
    QString column;
    for (qsizetype i = 0; i < line.size() && columns.size() < 4; ++i) {
        const bool last = i == line.size() - 1;
        if (line[i] == QLatin1Char(',') && !last) {
            columns.append(column);
            column.clear();
            continue;
        }
        column += line[i];
        if (last)
            columns.append(column);
    }
    while (columns.size() < 4)
        columns.append(QString());

    SchemaLine parsed;
    parsed.name = columns[0].trimmed();
    parsed.type = KindOfLetter(columns[1].trimmed(), typeBefore);
    parsed.size = ToInt16(LeadingNumber(columns[2])).value_or(0);
    parsed.flag = LeadingNumber(columns[3]) != 0.0;
    return parsed;
}

QString SchemaLineText(int number)
{
    const auto found = Lines().find(number);
    return found == Lines().end() ? QString() : QString::fromLatin1(found->second);
}

QString DeclaredType(qint16 kind, int size)
{
    switch (kind) {
    case kTextColumn:
        return QStringLiteral("TEXT(%1)").arg(size);
    case kMemoColumn:
        return QStringLiteral("MEMO_TEXT");
    case kDateColumn:
        return QStringLiteral("DATE_TEXT");
    case kLongColumn:
        return QStringLiteral("INTEGER");
    case kCurrencyColumn:
        return QStringLiteral("CURRENCY");
    case kBooleanColumn:
        return QStringLiteral("BOOLEAN");
    case kIntegerColumn:
        return QStringLiteral("SMALLINT");
    case kSingleColumn:
        return QStringLiteral("FLOAT");
    case kDoubleColumn:
        return QStringLiteral("DOUBLE");
    case kByteColumn:
        return QStringLiteral("TINYINT");
    case kLongBinaryColumn:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("MEMO_TEXT");
    }
}

qint16 KindOfDeclaredType(const QString& declared, int* size)
{
    const QString type = declared.trimmed().toUpper();
    static const QRegularExpression text(QStringLiteral("^TEXT\\s*\\(\\s*(\\d+)\\s*\\)$"));
    if (const auto match = text.match(type); match.hasMatch()) {
        if (size)
            *size = match.captured(1).toInt();
        return kTextColumn;
    }
    static const std::map<QString, qint16> kinds = {
        {QStringLiteral("MEMO_TEXT"), kMemoColumn},  {QStringLiteral("DATE_TEXT"), kDateColumn},
        {QStringLiteral("INTEGER"), kLongColumn},    {QStringLiteral("CURRENCY"), kCurrencyColumn},
        {QStringLiteral("BOOLEAN"), kBooleanColumn}, {QStringLiteral("SMALLINT"), kIntegerColumn},
        {QStringLiteral("FLOAT"), kSingleColumn},    {QStringLiteral("DOUBLE"), kDoubleColumn},
        {QStringLiteral("TINYINT"), kByteColumn},    {QStringLiteral("BLOB"), kLongBinaryColumn},
    };
    if (size)
        *size = 0;
    const auto found = kinds.find(type);
    return found == kinds.end() ? qint16(kMemoColumn) : found->second;
}

#include "database/ValueConversion.h"

#include "platform/DatabaseConnection.h"
#include "platform/Numbers.h"
#include "platform/Regional.h"
#include "platform/SchemaLines.h"

#include <SQLiteCpp/Statement.h>
#include <cmath>
#include <stdexcept>

namespace {

// The largest amount a currency value holds (64-bit with four decimals).
constexpr double kCurrencyLimit = 922337203685477.5807;

// The first `limit` characters of text, counting a surrogate pair as one so
// that a cut never splits a character.
QString LeftCodePoints(const QString& text, qsizetype limit)
{
    qsizetype units = 0;
    for (qsizetype count = 0; units < text.size() && count < limit; ++count)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                         text.at(units + 1).isLowSurrogate()
                     ? 2
                     : 1;
    return text.left(units);
}

} // namespace

ColumnValue ConvertForColumn(const ColumnInfo& column, const QString& text,
                             const Regional& regional)
{
    ColumnValue value;
    const bool blank = text.trimmed().isEmpty();
    switch (column.kind) {
    case kCurrencyColumn:
    case kLongColumn: {
        if (blank) {
            value.kind = ColumnValue::Null;
            break;
        }
        const auto number = regional.ParseNumber(text);
        if (!number)
            break; // keep
        if (column.kind == kLongColumn) {
            const auto whole = ToInt32(*number);
            if (!whole)
                throw std::runtime_error("Overflow");
            value.kind = ColumnValue::Integer;
            value.integer = *whole;
        } else {
            const double amount = RoundHalfEven(*number * 10000.0) / 10000.0;
            if (!std::isfinite(amount) || std::fabs(amount) > kCurrencyLimit)
                throw std::runtime_error("Overflow");
            value.kind = ColumnValue::Real;
            value.real = amount;
        }
        break;
    }
    case kDateColumn: {
        if (blank) {
            value.kind = ColumnValue::Null;
            break;
        }
        if (const auto date = regional.ParseDate(text)) {
            value.kind = ColumnValue::Text;
            value.text = IsoDateText(*date);
        }
        break;
    }
    case kTextColumn:
        value.kind = ColumnValue::Text;
        value.text = column.size > 0 ? LeftCodePoints(text, column.size) : text;
        break;
    default:
        value.kind = ColumnValue::Text;
        value.text = text;
        break;
    }
    return value;
}

void BindColumnValue(SQLite::Statement& statement, int index, const ColumnValue& value)
{
    switch (value.kind) {
    case ColumnValue::Keep:
    case ColumnValue::Null:
        statement.bind(index);
        break;
    case ColumnValue::Text:
        statement.bind(index, value.text.toStdString());
        break;
    case ColumnValue::Integer:
        statement.bind(index, static_cast<int64_t>(value.integer));
        break;
    case ColumnValue::Real:
        statement.bind(index, value.real);
        break;
    }
}

void BindColumnValue(SQLite::Statement& statement, int index, const ColumnValue& value,
                     std::string& keep)
{
    if (value.kind != ColumnValue::Text) {
        BindColumnValue(statement, index, value);
        return;
    }
    const QByteArray utf8 = value.text.toUtf8();
    keep.assign(utf8.constData(), static_cast<size_t>(utf8.size()));
    statement.bindNoCopy(index, keep);
}

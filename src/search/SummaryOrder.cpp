#include "search/SummaryOrder.h"

#include "platform/ErrorText.h"
#include "search/SearchFunctions.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <sqlite3.h>

namespace {

const char* const kHeaderExpressions[] = {"Forms.FormID", "Forms.Form_Name", "Forms.Form_Notes",
                                          "substr(Forms.Form_Date, 1, 10)", "Forms.File_Name"};

QString TextOf(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(text, sqlite3_value_bytes(value));
}

const Regional& RegionalOf(sqlite3_context* ctx)
{
    return *static_cast<const Regional*>(sqlite3_user_data(ctx));
}

void ResultText(sqlite3_context* ctx, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// A value of plain digits (most numbers in answers) reads the same in
// every locale: it is taken without building a text.
std::optional<double> PlainInteger(sqlite3_value* value)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int length = sqlite3_value_bytes(value);
    const int sign = length > 0 && bytes[0] == '-' ? 1 : 0;
    if (length - sign < 1 || length - sign > 15)
        return std::nullopt;
    double number = 0;
    for (int i = sign; i < length; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return std::nullopt;
        number = number * 10 + (bytes[i] - '0');
    }
    return sign ? -number : number;
}

std::optional<double> NumberOf(sqlite3_context* ctx, sqlite3_value* value)
{
    if (const std::optional<double> plain = PlainInteger(value))
        return plain;
    return RegionalOf(ctx).ParseNumber(TextOf(value));
}

void NumberFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (const std::optional<double> number = NumberOf(ctx, argv[0]))
        return sqlite3_result_double(ctx, *number);
    sqlite3_result_null(ctx);
}

void DateFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (const std::optional<QDate> date = RegionalOf(ctx).ParseDate(TextOf(argv[0])))
        return ResultText(ctx, IsoDateText(*date));
    sqlite3_result_null(ctx);
}

// Numbers sort before every text in the engine; the marks \1 and \2 put
// the dates before the other texts.
void SortKeyFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (const std::optional<double> plain = PlainInteger(argv[0]))
        return sqlite3_result_double(ctx, *plain);
    const QString text = TextOf(argv[0]);
    const Regional& regional = RegionalOf(ctx);
    if (const std::optional<double> number = regional.ParseNumber(text))
        return sqlite3_result_double(ctx, *number);
    if (const std::optional<QDate> date = regional.ParseDate(text))
        return ResultText(ctx, QLatin1Char('\1') + IsoDateText(*date));
    ResultText(ctx, QLatin1Char('\2') + text);
}

QString FieldExpression(int parameter)
{
    return QStringLiteral("(SELECT Data.Field_Value FROM Data WHERE Data.FormID = Forms.FormID "
                          "AND Data.Field_Name = ?%1 COLLATE NOCASE ORDER BY Data.DataID LIMIT 1)")
        .arg(parameter);
}

} // namespace

SummaryValueKind SummaryColumnKind(int column)
{
    switch (column) {
    case 0:
        return SummaryValueKind::Number;
    case 3:
        return SummaryValueKind::Date;
    default:
        return column < SummaryViewState::kHeaderColumns ? SummaryValueKind::Text
                                                         : SummaryValueKind::Field;
    }
}

bool RegisterSummaryFunctions(sqlite3* db, const Regional& regional, const char** error)
{
    struct Function {
        const char* name;
        void (*call)(sqlite3_context*, int, sqlite3_value**);
    };
    const Function functions[] = {
        {"tm_number", NumberFunction}, {"tm_date", DateFunction}, {"tm_sortkey", SortKeyFunction}};
    for (const Function& f : functions) {
        const int rc = sqlite3_create_function_v2(
            db, f.name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
            const_cast<Regional*>(&regional), f.call, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            if (error)
                *error = sqlite3_errmsg(db);
            return false;
        }
    }
    return true;
}

SummaryOrderResult OrderSummary(const QString& databasePath, const SummaryViewState& view,
                                const std::vector<qint64>* searchResult, const Regional& regional)
{
    SummaryOrderResult result;
    const int columnCount = SummaryViewState::kHeaderColumns + int(view.FieldColumns.size());

    // The field names come first among the bound values, one per field
    // column used.
    QVariantList values;
    QMap<int, QString> expressions;
    const auto expressionOf = [&](int column) {
        if (const auto found = expressions.find(column); found != expressions.end())
            return *found;
        QString expression;
        if (column < SummaryViewState::kHeaderColumns) {
            expression = QLatin1String(kHeaderExpressions[column]);
        } else {
            values.append(view.FieldColumns[column - SummaryViewState::kHeaderColumns]);
            expression = FieldExpression(int(values.size()));
        }
        expressions.insert(column, expression);
        return expression;
    };
    const bool sorted = view.SortColumn >= 0 && view.SortColumn < columnCount;
    if (sorted)
        expressionOf(view.SortColumn);
    for (auto it = view.Filters.begin(); it != view.Filters.end(); ++it)
        if (it.key() >= 0 && it.key() < columnCount && !it.value().trimmed().isEmpty())
            expressionOf(it.key());

    QStringList conditions;
    for (auto it = view.Filters.begin(); it != view.Filters.end(); ++it) {
        if (it.key() < 0 || it.key() >= columnCount)
            continue;
        const SummaryFilterSql filter =
            SummaryFilterToSql(it.value(), SummaryColumnKind(it.key()), expressions.value(it.key()),
                               int(values.size()) + 1, regional);
        if (!filter.error.isEmpty()) {
            result.faultColumn = it.key();
            result.error = filter.error;
            return result;
        }
        if (filter.where.isEmpty())
            continue;
        conditions.append(filter.where);
        values.append(filter.values);
    }

    QString sql = QStringLiteral("SELECT Forms.FormID FROM Forms");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ");
    if (sorted) {
        const QString direction = view.SortDescending ? QStringLiteral(" DESC") : QString();
        QString key = expressions.value(view.SortColumn);
        switch (SummaryColumnKind(view.SortColumn)) {
        case SummaryValueKind::Number:
            break;
        case SummaryValueKind::Date:
            key = QStringLiteral("NULLIF(%1, '')").arg(key);
            break;
        case SummaryValueKind::Text:
            key =
                QStringLiteral("NULLIF(%1, '') COLLATE %2").arg(key, QLatin1String(kFoldCollation));
            break;
        case SummaryValueKind::Field:
            key =
                QStringLiteral("tm_sortkey(%1) COLLATE %2").arg(key, QLatin1String(kFoldCollation));
            break;
        }
        sql += QStringLiteral("%1%2 NULLS LAST, ").arg(key, direction);
    }
    sql += QStringLiteral("Forms.FormID");

    try {
        SQLite::Database db(databasePath.toStdString(), SQLite::OPEN_READONLY);
        const char* registerError = nullptr;
        if (!RegisterSearchFunctions(db.getHandle(), &registerError) ||
            !RegisterSummaryFunctions(db.getHandle(), regional, &registerError))
            throw std::runtime_error(registerError ? registerError : "cannot register functions");
        SQLite::Statement query(db, sql.toStdString());
        for (int i = 0; i < values.size(); ++i) {
            const QVariant& value = values[i];
            if (value.typeId() == QMetaType::Double)
                query.bind(i + 1, value.toDouble());
            else
                query.bind(i + 1, value.toString().toStdString());
        }
        while (query.executeStep()) {
            const qint64 id = query.getColumn(0).getInt64();
            if (!searchResult || std::binary_search(searchResult->begin(), searchResult->end(), id))
                result.ids.push_back(id);
        }
        result.ok = true;
    } catch (const std::exception& e) {
        result.error = ErrorText(e);
    }
    return result;
}

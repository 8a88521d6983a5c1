#include "search/SummaryOrder.h"

#include "platform/ErrorText.h"
#include "search/SearchFunctions.h"
#include "search/SummaryFieldScan.h"
#include "search/SummarySortKey.h"

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

std::optional<double> NumberOf(sqlite3_context* ctx, sqlite3_value* value)
{
    if (const std::optional<double> plain = PlainInteger(
            reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value)))
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

struct FieldPass {
    int column;
    SummaryFilterSql filter; // empty where: the column only sorts
};

// Keeps those of ids whose field columns pass their filters and, when the
// summary is sorted by a field column, sorts them by it; ids then come in
// record-number order, which breaks the ties.
void OrderByFieldColumns(SQLite::Database& db, const SummaryViewState& view,
                         const std::vector<FieldPass>& passes, bool sortedByField,
                         const Regional& regional, std::vector<qint64>& ids)
{
    std::vector<std::pair<qint64, int>> positions(ids.size());
    for (size_t i = 0; i < ids.size(); ++i)
        positions[i] = {ids[i], int(i)};
    std::sort(positions.begin(), positions.end());
    std::vector<char> kept(ids.size(), 1);
    std::vector<SummarySortKey> keys;
    for (const FieldPass& pass : passes) {
        const bool wantKeys = sortedByField && pass.column == view.SortColumn;
        FieldColumnScan scan =
            ScanFieldColumn(db, view.FieldColumns[pass.column - SummaryViewState::kHeaderColumns],
                            pass.filter.where, pass.filter.values, wantKeys, positions, regional);
        if (!pass.filter.where.isEmpty())
            for (size_t i = 0; i < kept.size(); ++i)
                kept[i] = kept[i] && scan.passes[i];
        if (wantKeys)
            keys = std::move(scan.keys);
    }
    std::vector<int> order;
    order.reserve(ids.size());
    for (size_t i = 0; i < kept.size(); ++i)
        if (kept[i])
            order.push_back(int(i));
    if (sortedByField) {
        const bool descending = view.SortDescending;
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            const SummarySortKey& x = keys[a];
            const SummarySortKey& y = keys[b];
            const bool xNone = x.kind == SummarySortKey::None;
            const bool yNone = y.kind == SummarySortKey::None;
            if (xNone != yNone)
                return yNone; // records without a value last either way
            if (!xNone) {
                if (x < y)
                    return !descending;
                if (y < x)
                    return descending;
            }
            return a < b;
        });
    }
    std::vector<qint64> shown;
    shown.reserve(order.size());
    for (const int i : order)
        shown.push_back(ids[i]);
    ids.swap(shown);
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
    const Function functions[] = {{"tm_number", NumberFunction}, {"tm_date", DateFunction}};
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
    const auto isField = [](int column) { return column >= SummaryViewState::kHeaderColumns; };
    const bool sorted = view.SortColumn >= 0 && view.SortColumn < columnCount;

    // The header columns filter and sort in the statement over Forms; each
    // field column in use is read by a pass of its own over Data.
    std::vector<FieldPass> fieldPasses;
    QStringList conditions;
    QVariantList values;
    for (auto it = view.Filters.begin(); it != view.Filters.end(); ++it) {
        if (it.key() < 0 || it.key() >= columnCount)
            continue;
        const bool field = isField(it.key());
        const QString expression = field ? QStringLiteral("Data.Field_Value")
                                         : QLatin1String(kHeaderExpressions[it.key()]);
        SummaryFilterSql filter =
            SummaryFilterToSql(it.value(), SummaryColumnKind(it.key()), expression,
                               field ? 2 : int(values.size()) + 1, regional);
        if (!filter.error.isEmpty()) {
            result.faultColumn = it.key();
            result.error = filter.error;
            return result;
        }
        if (filter.where.isEmpty())
            continue;
        if (field) {
            fieldPasses.push_back({it.key(), filter});
        } else {
            conditions.append(filter.where);
            values.append(filter.values);
        }
    }
    const bool sortedByField = sorted && isField(view.SortColumn);
    if (sortedByField &&
        std::none_of(fieldPasses.begin(), fieldPasses.end(),
                     [&](const FieldPass& p) { return p.column == view.SortColumn; }))
        fieldPasses.push_back({view.SortColumn, {}});

    QString sql = QStringLiteral("SELECT Forms.FormID FROM Forms");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ");
    if (sorted && !sortedByField) {
        const QString direction = view.SortDescending ? QStringLiteral(" DESC") : QString();
        QString key = QLatin1String(kHeaderExpressions[view.SortColumn]);
        switch (SummaryColumnKind(view.SortColumn)) {
        case SummaryValueKind::Number:
            break;
        case SummaryValueKind::Date:
            key = QStringLiteral("NULLIF(%1, '')").arg(key);
            break;
        case SummaryValueKind::Text:
        case SummaryValueKind::Field:
            key =
                QStringLiteral("NULLIF(%1, '') COLLATE %2").arg(key, QLatin1String(kFoldCollation));
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
        if (!fieldPasses.empty())
            OrderByFieldColumns(db, view, fieldPasses, sortedByField, regional, result.ids);
        result.ok = true;
    } catch (const std::exception& e) {
        result.error = ErrorText(e);
    }
    return result;
}

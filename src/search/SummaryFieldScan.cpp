#include "search/SummaryFieldScan.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>

FieldColumnScan ScanFieldColumn(SQLite::Database& db, const QString& field,
                                const QString& filterWhere, const QVariantList& filterValues,
                                bool wantKeys, const std::vector<std::pair<qint64, int>>& positions,
                                const Regional& regional)
{
    FieldColumnScan scan;
    scan.passes.assign(positions.size(), 0);
    if (wantKeys)
        scan.keys.resize(positions.size());
    std::vector<char> seen(positions.size(), 0);

    // Data has no index on Field_Name: the pass goes in DataID order, so
    // the first entry met for a record is its first value.
    const QString passes = filterWhere.isEmpty() ? QStringLiteral("1") : filterWhere;
    const QString sql = QStringLiteral("SELECT FormID, Field_Value, (%1) FROM Data "
                                       "WHERE Field_Name = ?1 COLLATE NOCASE ORDER BY DataID")
                            .arg(passes);
    SQLite::Statement query(db, sql.toStdString());
    query.bind(1, field.toStdString());
    for (int i = 0; i < filterValues.size(); ++i) {
        const QVariant& value = filterValues[i];
        if (value.typeId() == QMetaType::Double)
            query.bind(i + 2, value.toDouble());
        else
            query.bind(i + 2, value.toString().toStdString());
    }
    while (query.executeStep()) {
        const qint64 id = query.getColumn(0).getInt64();
        const auto found = std::lower_bound(
            positions.begin(), positions.end(), id,
            [](const std::pair<qint64, int>& entry, qint64 wanted) { return entry.first < wanted; });
        if (found == positions.end() || found->first != id)
            continue;
        const int index = found->second;
        if (seen[index])
            continue;
        seen[index] = 1;
        scan.passes[index] = query.getColumn(2).getInt() != 0;
        if (wantKeys) {
            const SQLite::Column value = query.getColumn(1);
            const char* text = value.isNull() ? nullptr : value.getText();
            scan.keys[index] = SortKeyOf(text, text ? value.getBytes() : 0, regional);
        }
    }
    return scan;
}

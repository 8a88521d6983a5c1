#pragma once

#include "platform/Regional.h"
#include "search/SummarySortKey.h"

#include <QString>
#include <QVariantList>
#include <utility>
#include <vector>

namespace SQLite {
class Database;
}

// A field column's first values for the records of a set, read in one pass
// over Data rather than one look-up per record: on a million records the
// pass reads each entry once, where the look-ups read every entry of every
// record through the FormID index.
struct FieldColumnScan {
    std::vector<char> passes;          // per record: its value passes the filter
    std::vector<SummarySortKey> keys;  // per record: what it sorts by (when asked)
};

// positions maps each FormID of the set, ascending, to its index in the
// set. filterWhere is SQL over Data.Field_Value whose parameters are
// numbered from ?2 (empty: every value passes); a record without the field
// passes no filter and sorts last. Throws the engine's errors.
FieldColumnScan ScanFieldColumn(SQLite::Database& db, const QString& field,
                                const QString& filterWhere, const QVariantList& filterValues,
                                bool wantKeys, const std::vector<std::pair<qint64, int>>& positions,
                                const Regional& regional);

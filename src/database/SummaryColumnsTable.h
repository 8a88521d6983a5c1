#pragma once

#include <QList>
#include <QStringList>

namespace SQLite {
class Database;
}

// The summary's field columns as the database keeps them, so they travel
// with the file: table SummaryColumns ("Position", "Field_Name", "Width"),
// made when a choice is first saved; a file without it has none.
struct SummaryFieldColumns {
    QStringList names; // in column order
    QList<int> widths; // one per name, in pixels; 0 for the grid's default
    bool operator==(const SummaryFieldColumns&) const = default;
};

// Both throw the engine's exception on failure; a write replaces the
// whole choice in one transaction.
SummaryFieldColumns ReadSummaryFieldColumns(SQLite::Database& db);
void WriteSummaryFieldColumns(SQLite::Database& db, const SummaryFieldColumns& columns);

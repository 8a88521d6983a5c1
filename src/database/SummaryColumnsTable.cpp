#include "database/SummaryColumnsTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

SummaryFieldColumns ReadSummaryFieldColumns(SQLite::Database& db)
{
    SummaryFieldColumns columns;
    if (!db.tableExists("SummaryColumns"))
        return columns;
    SQLite::Statement read(db, "SELECT \"Field_Name\", \"Width\" FROM \"SummaryColumns\" "
                               "ORDER BY \"Position\"");
    while (read.executeStep()) {
        columns.names.append(QString::fromUtf8(read.getColumn(0).getText()));
        columns.widths.append(std::max(0, read.getColumn(1).getInt()));
    }
    return columns;
}

void WriteSummaryFieldColumns(SQLite::Database& db, const SummaryFieldColumns& columns)
{
    SQLite::Transaction transaction(db);
    db.exec("CREATE TABLE IF NOT EXISTS \"SummaryColumns\" (\"Position\" INTEGER PRIMARY KEY, "
            "\"Field_Name\" TEXT NOT NULL, \"Width\" INTEGER NOT NULL DEFAULT 0)");
    db.exec("DELETE FROM \"SummaryColumns\"");
    SQLite::Statement insert(db, "INSERT INTO \"SummaryColumns\" VALUES (?, ?, ?)");
    for (int i = 0; i < columns.names.size(); ++i) {
        insert.bind(1, i);
        insert.bind(2, columns.names[i].toStdString());
        insert.bind(3, i < columns.widths.size() ? columns.widths[i] : 0);
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

#pragma once

#include "database/DatabaseFixture.h"

#include <SQLiteCpp/Statement.h>
#include <utility>
#include <vector>

using StoredFields = std::vector<std::pair<const char*, const char*>>;

// Stores one record straight into the tables: its date (ISO) and notes,
// each left NULL when nullptr, and its fields in order.
inline void StoreRecord(DatabaseFixture& f, const char* date, const char* notes,
                        const StoredFields& fields)
{
    SQLite::Statement form(f.Db(), "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date) "
                                   "VALUES ('n', ?, ?)");
    if (notes)
        form.bind(1, notes);
    if (date)
        form.bind(2, date);
    form.exec();
    const auto id = f.Db().getLastInsertRowid();
    for (const auto& [name, value] : fields) {
        SQLite::Statement data(
            f.Db(), "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
        data.bind(1, name);
        data.bind(2, value);
        data.bind(3, static_cast<int64_t>(id));
        data.exec();
    }
}

#pragma once

#include "platform/DatabaseConnection.h"

#include <SQLiteCpp/Database.h>

// Runs write(db) in one write transaction of connection, taken as BeginWrite
// takes it: committed when write returns, rolled back when it throws, and the
// exception goes on to the caller.
template <typename Write> void InWriteTransaction(DatabaseConnection& connection, Write write)
{
    SQLite::Database& db = connection.Db();
    connection.BeginWrite();
    try {
        write(db);
        db.exec("COMMIT");
    } catch (...) {
        try {
            db.exec("ROLLBACK");
        } catch (const std::exception&) {
            // The engine has already ended it.
        }
        throw;
    }
}

#pragma once

#include "platform/Ui.h"
#include "session/QueryRow.h"

#include <functional>

// A record-level field of the configuration as a loaded query row needs it.
struct RecordFieldLookup {
    enum class Status { NotFound, Found, Failed };
    Status status = Status::NotFound;
    QString dataType;   // Found: the configured type letter
    QString comboItems; // Found: the configured choices
    QString error;      // Failed: why the entry could not be parsed
};
// Looks a qualified name ("Forms.Form_Name") up among the configuration's
// record-level fields, comparing exactly.
using RecordFieldResolver = std::function<RecordFieldLookup(const QString& qualifiedName)>;

// The Query Builder's Save Query: asks for a file, confirms overwriting,
// writes every non-empty cell of columns 0 to 9 of every row. True when
// the file was written.
bool SaveQueryFile(Ui& ui, const QueryGrid& grid);

// The Query Builder's Load Query: asks for a file and reads it into grid,
// setting columns (the shown columns Go processes). An invalid file leaves
// both unchanged. True when rows were loaded.
bool LoadQueryFile(Ui& ui, QueryGrid& grid, int& columns, const RecordFieldResolver& resolve);

// The same two without the file dialogs, for a path already chosen (the
// command line). Saving overwrites without asking.
bool WriteQueryFile(Ui& ui, const QString& path, const QueryGrid& grid);
bool ReadQueryFile(Ui& ui, const QString& path, QueryGrid& grid, int& columns,
                   const RecordFieldResolver& resolve);

// The file dialogs' filter list.
QString QueryFileFilter();

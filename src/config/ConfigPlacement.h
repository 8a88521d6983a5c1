#pragma once

#include "session/FormConfig.h"

class RecordTables;

// Where an entry's Placement puts it in the viewer.
struct ViewerPlace {
    enum Kind { NotShown, HeaderItem, Frame, GridRow };
    Kind kind = NotShown;
    int number = 0;   // header item or frame number; grid row section
    int row = 0;      // grid row within its section
    bool fits = true; // false when a number does not fit in 16 bits
};

// "L" or "F", anything, ".", n: header item or frame n. "G" s "." r: row r
// of grid section s. Anything else is not shown.
ViewerPlace ReadPlacement(const QString& placement);

// A record cell "table.column"; empty when the text holds no "." or a
// number does not fit in 16 bits.
struct CellAddress {
    qint16 table = 0;
    qint16 column = 0;
};
std::optional<CellAddress> ReadDataLocation(const QString& location);

// Applies config.ParsedEntry (the fields of entry) to the placement tables
// and the summary captions. False, with the reason in error, when the place
// is beyond the viewer's layout or the entry's record cell does not exist.
bool ApplyPlacement(FormConfig& config, int entry, const RecordTables& tables, QString* error);

// Adds an "F" or "I" entry on a record-level cell (table 1) to
// config.RecordFieldList.
void ApplyRecordFieldRule(FormConfig& config, int entry);

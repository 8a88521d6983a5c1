#pragma once

#include "session/FieldNameCatalog.h"
#include "session/RecordSet.h"
#include "session/SummaryViewState.h"
#include "platform/DatabaseConnection.h"

#include <QString>
#include <memory>

// The state of the open database, kept under the names the program has
// always used for it.
struct DatabaseState {
    // Bits of RecordState.
    enum : int { NewRecord = 1, EditRecord = 2, NoRecords = 0x10 };

    QString CurrentDatabasePath;                         // empty when none is open
    std::unique_ptr<DatabaseConnection> CurrentDatabase; // the open connection
    RecordSet RecordCursor;             // the viewer's cursor over Forms (a clone of the summary's)
    RecordSet SummaryRecords;           // the summary's rows: every FormID, ascending
    FieldNameCatalog CurrentFieldNames; // CR LF, then each field name ever stored and CR LF
    int RecordState = 0;
    bool OpeningDatabase = false;
    bool SummaryFiltered = false; // the summary shows a search result
    SummaryViewState SummaryView; // field columns, sort and filters of the summary
    // The record on screen has no unsaved change by the user.
    bool RecordUnchanged = true;
    // The program itself is filling the viewer's boxes: their change events
    // are not user edits.
    bool SuppressChangeEvents = false;

    // Whether opening records the path as LastUsedDB (the command line does not).
    bool RememberLastUsedDB = true;
    // Whether opening lists every FormID for the summary and reads the first
    // record. Commands that stream the records they need (the command line's
    // list, find and export) open without: the summary and RecordCursor stay
    // empty and only NoRecords tells whether the database holds records.
    bool ListRecordsOnOpen = true;
    // How opening opens the file: the command line's verbs that only read
    // open it for reading.
    DatabaseAccess OpenAccess = DatabaseAccess::ReadWrite;
    // How long a connection waits for another program's write to end.
    int BusyTimeoutMs = DatabaseConnection::kBusyTimeoutMs;
};

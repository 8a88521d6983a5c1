#pragma once

#include "search/SearchTypes.h"

#include <optional>
#include <vector>

class Session;

// The summary's two states: the whole open database, or the rows of the
// last search copied into the result file (SummaryFiltered).

// Rebuilds the Quick Find field list: the configuration's record-level
// fields on Forms, then the searchable names of CurrentFieldNames; the
// first entry is selected. False after "Error initializing Quick Find: ..."
// (the entries added so far stay).
bool FillQuickFindCombo(Session& session);

// Find: the records whose chosen field matches pattern. Builds lblFind
// first; "Please enter a search value" for a blank pattern. On success the
// summary shows the result file's rows. False when nothing was found
// because of a message, an engine error ("Invalid query: ...") or Cancel;
// after an error or Cancel the summary shows the whole database again.
bool QuickFindSearch(Session& session, int entryIndex, const QString& pattern);

// Clear Search: builds lblFind as Find does, then shows the whole
// database again, in record-number order without filters. The result file stays on disk.
void ClearSearch(Session& session, int entryIndex, const QString& pattern);

// Quick Find's "Possible duplicates": the records marked as possible
// duplicates and the records they repeat, as a search result; "No record
// found" when there are none. False as QuickFindSearch.
bool FindPossibleDuplicates(Session& session);

// A search of the program's own making (a chart's bar, say) run as a Quick
// Find is: condition over Forms into the result file, the summary showing
// it, lblFind set to its shownStatement. False as QuickFindSearch.
bool ShowRecordsWhere(Session& session, const SearchCondition& condition);

// How the Query Builder's checks ended: rejected (a message has been
// shown, nothing ran), and then the cell at fault, rows and columns from
// 0, or -1 when the fault is not in one cell.
struct QueryCheck {
    bool rejected = false;
    int row = -1;
    int column = -1;
};

// The Query Builder's OK over session.Search.QueryGrid. The empty query
// shows the whole database again. False when a check failed or the
// statement failed or was cancelled.
bool RunQueryBuilder(Session& session, QueryCheck* check = nullptr);

// The summary back on the open database (Clear Search step 1): all rows
// (through the sort and filters still set), SummaryFiltered false and the
// NoRecords bit from the count.
void ShowWholeDatabase(Session& session);

// Deletes the result file (the database is closing). Quietly does nothing
// when there is none.
void DeleteSearchResultFile(Session& session);

// The header of record formId was stored while the summary shows a search
// result: the result file's copy of its row takes the stored values, and
// the summary shows them. Quietly does nothing when the file has no such row.
void RefreshResultRow(Session& session, qint64 formId);

// How the open database's Forms columns compare in searches.
ColumnKindLookup FormsColumnKinds(Session& session);

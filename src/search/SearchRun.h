#pragma once

#include "platform/Clock.h"
#include "platform/Ui.h"
#include "search/SearchTypes.h"

// What running a search gave.
struct SearchRunResult {
    bool ok = false;
    bool cancelled = false; // the progress dialog's Cancel stopped it
    qint64 count = 0;       // rows copied into the result file
    QString error;          // the engine's or system's description
};

// Copies the Forms rows of the database at databasePath that meet
// condition, in FormID order, into a new result file at resultPath (an
// existing one is replaced), on a connection of its own. The engine
// yields to the window system every so often; when the progress dialog's
// Cancel has been pressed the statement is interrupted. Another program's
// write is waited for as a connection waits, on clock.
SearchRunResult RunSearch(const QString& databasePath, const QString& resultPath,
                          const SearchCondition& condition, Ui& ui, const Clock& clock);

// The FormIDs of the result file's rows, ascending; empty on failure.
std::vector<qint64> ResultFormIds(const QString& resultPath, QString* error = nullptr);

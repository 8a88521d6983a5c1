#pragma once

#include <QString>
#include <functional>

class Session;

// Walks every response of one response file the way import does: for each
// response the record tables are emptied and filled (dated with the file's
// modification date, with its full path as source, blank rows removed),
// then onRecord runs; returning false from it stops the walk. A file that
// gives no record shows "No valid Record in file".
struct ScanOutcome {
    bool opened = false;  // false: the file could not be opened (see error)
    bool stopped = false; // onRecord asked to stop
    int records = 0;      // records handed to onRecord
    QString error;
};

// With a sourceBase folder, each record's source is the file's path
// relative to it instead (a shipped sample names its own file the same on
// every machine).
ScanOutcome ScanResponseFile(Session& session, const QString& path,
                             const std::function<bool()>& onRecord,
                             const QString& sourceBase = QString());

#pragma once

#include <QString>
#include <functional>

class Session;

// Walks every response of one response file the way import does: for each
// response the record tables are emptied and filled (with its full path as
// source, blank rows removed), then onRecord runs; returning false from it
// stops the walk. A file that gives no record shows "No valid Record in
// file".
//
// What the file holds is told from its content. Plain text is read line by
// line and dated with the file's modification date. A saved mail message
// (.eml, or several saved one after another in one file), an Apple Mail
// .emlx or an mbox file is read message by message:
// the text of each message's body is read by the same rules, numeric
// character references in values are decoded, and each record is dated
// with its message's Date header (in that date's own zone), else with the
// file's modification date; the source of a record from an mbox file is
// the path, "#" and the message's number from 1. An Outlook .msg or any
// other binary file is refused with a message and gives no record.
struct ScanOutcome {
    bool opened = false;  // false: the file could not be opened (see error)
    bool refused = false; // not a text or mail file; the user was told
    bool stopped = false; // onRecord asked to stop
    int records = 0;      // records handed to onRecord
    int dropped = 0;      // responses too large to store (each was reported)
    QString error;
};

// With a sourceBase folder, each record's source is the file's path
// relative to it instead (a shipped sample names its own file the same on
// every machine).
ScanOutcome ScanResponseFile(Session& session, const QString& path,
                             const std::function<bool()>& onRecord,
                             const QString& sourceBase = QString());

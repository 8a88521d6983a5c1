#pragma once

#include "ledger/ImportTally.h"

#include <QDate>
#include <QString>

class Session;

// The first response in a pasted text: lines (split at CR LF, LF or CR)
// are trimmed; the body starts at the first line that looks encoded and
// takes the following lines, joined with nothing between them, up to an
// empty or plain line. Empty when the text holds no response.
QString FirstResponseBody(const QString& text);

// Fills the record tables from the first response of a pasted or dropped
// text, dated date, with "Clipboard" as its source. This is the one step
// that turns such a text into a record: a reader that understands whole
// mail messages goes here. Returns ReadRecord's result; the tables are
// left untouched when the text holds no response.
int ReadClipboardRecord(Session& session, const QString& text, const QDate& date);

struct ClipboardImportOutcome {
    bool imported = false; // one new record stored
    bool failed = false;   // an error other than "no response in the text"
    ImportTally tally;
};

// "&Import" of the clipboard import window: stores the first response of
// text as a new record dated today, then brings the summary, the viewer
// and Quick Find's field list up to date. All texts go through the Ui. A
// message (or response) the import ledger knows is not stored again unless
// again is set.
ClipboardImportOutcome ImportClipboardText(Session& session, const QString& text,
                                           bool again = false);

#pragma once

#include "ledger/ImportTally.h"

#include <QString>
#include <QStringList>

class Session;

struct ImportOutcome {
    bool cancelled = false;
    bool failed = false;      // a file could not be read or a record not stored
    int total = 0;            // records stored
    int refused = 0;          // files that are no text or mail (each was reported)
    bool stopped = false;     // the Ui asked to stop; what was read is stored
    int dropped = 0;          // responses too large to store (each was reported)
    bool writeFailed = false; // the database refused a write: what it lost is read again next time
    ImportTally tally;        // what became of every item read
};

// How an import treats what it reads.
struct ImportOptions {
    QString sourceBase;     // records name their file relative to this folder
    bool again = false;     // store messages the ledger knows as well
    bool showTally = false; // end with the tally in a message (the desktop program)
};

// The import command: asks for one or more response files (plain text or
// saved mail, see ScanResponseFile) and stores every response in them as a
// new record of the open database, then brings the summary and the viewer up
// to date (see ShowRecordAfterImport); the record on screen is left first as
// navigation leaves it. All texts go through the session's Ui; the tally
// ends them. With a sourceBase folder, records name their file relative to
// it.
ImportOutcome ImportResume(Session& session, const ImportOptions& options = {});

// The import of the given files without asking (files dropped on the main
// window): every response of each file in turn, with the same texts. A
// folder stands for every file in it and in its folders, in name order.
ImportOutcome ImportResponseFiles(Session& session, const QStringList& paths,
                                  const ImportOptions& options = {});

// The files a list of paths stands for: a folder (a Maildir among them) by
// every file below it, in name order, leaving out hidden files and, in a
// Maildir, all but cur/ and new/ (tmp/ holds messages still being written,
// the Maildir itself a mail server's indexes).
QStringList ExpandImportPaths(const QStringList& paths);

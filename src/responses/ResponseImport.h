#pragma once

#include <QString>
#include <QStringList>

class Session;

struct ImportOutcome {
    bool cancelled = false;
    bool failed = false;  // a file could not be read or a record not stored
    int total = 0;        // records stored
    int refused = 0;      // files that are no text or mail (each was reported)
    bool stopped = false; // the Ui asked to stop; what was read is stored
    int dropped = 0;      // responses too large to store (each was reported)
};

// The import command: asks for one or more response files (plain text or
// saved mail, see ScanResponseFile) and stores every response in them as a
// new record of the open database, then brings the summary and the viewer up
// to date (see ShowRecordAfterImport); the record on screen is left first as
// navigation leaves it. All texts go through the session's Ui. With a
// sourceBase folder, records name their file relative to it.
ImportOutcome ImportResume(Session& session, const QString& sourceBase = QString());

// The import of the given files without asking (files dropped on the main
// window): every response of each file in turn, with the same texts.
ImportOutcome ImportResponseFiles(Session& session, const QStringList& paths,
                                  const QString& sourceBase = QString());

#pragma once

class Session;

struct ImportOutcome {
    bool cancelled = false;
    bool failed = false; // a file could not be read or a record not stored
    int total = 0;       // records stored
    int refused = 0;     // files that are no text or mail (each was reported)
};

// The import command: asks for one or more response files (plain text or
// saved mail, see ScanResponseFile) and stores every response in them as a
// new record of the open database, then brings the summary up to date. All
// texts go through the session's Ui.
ImportOutcome ImportResume(Session& session);

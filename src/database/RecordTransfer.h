#pragma once

class RecordChooser;
class Session;

struct TransferOutcome {
    bool ran = false;    // a target was chosen, exists and passed the check
    bool failed = false; // the check or an error stopped it
    int saved = 0;
};

// File > Export record(s) to different database: asks which records of the
// summary to copy ("Select records to transfer") and into which file
// (creating it on request), checks that file, then copies each record
// into it with new record numbers, extending its field-names list. The
// open database is left as it was (unless it is the target itself), and
// the record in memory and its position are those from before, so the
// viewer never stores a record the transfer read over the one on screen.
TransferOutcome WriteRecordsToDB(Session& session, RecordChooser& chooser);

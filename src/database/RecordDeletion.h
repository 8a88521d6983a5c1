#pragma once

class RecordChooser;
class Session;

struct DeleteOutcome {
    bool ran = false;    // the deletion went ahead (not cancelled or declined)
    bool failed = false; // an error stopped it
    int deleted = 0;
};

// Record command 6: asks which records of the summary to delete
// ("Select records to delete"), asks to confirm, then deletes them one by
// one behind a progress dialog that Cancel stops between two records. A
// record's fields go with it; while the summary shows a search, the result
// file's copy goes too. Afterwards the summary and the viewer show the
// record next to the last one deleted (the one after it, or before it
// when it was the last row), or an empty record when none is left.
DeleteOutcome DeleteResumes(Session& session, RecordChooser& chooser);

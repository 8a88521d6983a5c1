#pragma once

class Session;

// An import stores each response through the record in memory, which then
// holds the last one read, stored or not, while the viewer still shows the
// record it showed before. Afterwards the summary takes the new rows (unless
// it shows a search result) and stands on the last record stored, and the
// viewer reads the summary's current record from the file, header and
// fields together.
void ShowRecordAfterImport(Session& session);

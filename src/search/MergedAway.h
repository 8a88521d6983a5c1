#pragma once

#include <QtGlobal>
#include <vector>

class Session;

// Takes records deleted from the open database out of the record cursor,
// a search result's copy and the summary's list, which keeps its order.
// Errors are shown with "Error reading data: ".
void ForgetDeletedRecords(Session& session, const std::vector<qint64>& deleted);

// After records were merged into kept: the summary (and a search result's
// copy) drops the deleted ones, shows kept's new values and moves to it,
// and the viewer follows. Errors are shown with "Error reading data: ".
void ShowMergedAway(Session& session, qint64 kept, const std::vector<qint64>& deleted);

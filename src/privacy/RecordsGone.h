#pragma once

#include <QtGlobal>
#include <vector>

class Session;

// After records were deleted outside the summary's own commands (a
// retention run, an erase): the summary and a search result's copy drop
// them, and the viewer shows the current record, the first one left when
// the current one went, or an empty record when none is left. Errors are
// shown with "Error reading data: ". deleted is in ascending order.
void ShowRecordsGone(Session& session, const std::vector<qint64>& deleted);
// After fields of records were changed in place: the viewer reads the
// current record again and the summary redraws.
void ShowRecordsChanged(Session& session);

#pragma once

#include "session/WindowHost.h"

#include <QtGlobal>

class Session;

// Brings the record viewer to the summary's current record: the viewer's
// cursor seeks the same FormID and the record is read into memory. With no
// current row the viewer is cleared to an empty record. Failures show
// "Error moving to record: please try again: " and the error text. True
// when the viewer shows the current row's record (or was cleared).
bool OpenResume(Session& session);

// Moves the summary's current row (never past either end) and then opens
// that record in the viewer. Yields once at the ends, so the windows catch
// up before the record is read.
bool Command1_Click(Session& session, Navigation move);

// The user made the row with formId current in the summary grid.
bool SummaryRowChosen(Session& session, qint64 formId);

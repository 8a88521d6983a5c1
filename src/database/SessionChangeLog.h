#pragma once

#include "database/ChangeLog.h"

class Session;

// Logs one entry for the open database in a transaction of its own, for an
// operation that wrote nothing else into the file (an export, the source
// side of a transfer): through the open connection when it writes,
// otherwise (a database opened for reading, as the command line's output
// verbs open it) through a writer of its own for the moment. When the
// entry cannot be kept (a file that may not be written) the user is told
// "The change log could not be written: " with the engine's text and the
// result is false; the operation itself stands.
bool LogChangeToOpenDatabase(Session& session, ChangeKind kind, const QString& what,
                             const QString& records);

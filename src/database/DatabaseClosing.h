#pragma once

#include <QString>

class Session;

// Closes the open database as closing the record viewer does: closes the
// connection, empties the record in memory, deletes the search-result file
// and forgets the database, whose path goes to the recent-files list
// (RecentFileUsed).
// Every step is attempted; nothing is reported. Returns the path that was
// open (empty when none was).
QString CloseResumeDatabase(Session& session);

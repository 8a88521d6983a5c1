#pragma once

#include <QString>

class Session;

// The new-database command: asks for a file name ("Save New Database
// As..."), creates the file and opens it. False when cancelled or failed.
bool FileNew(Session& session);

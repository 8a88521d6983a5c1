#pragma once

#include <QString>
#include <QtGlobal>

class DatabaseConnection;
class Session;

struct CompactionSizes {
    qint64 before = 0; // the file and its write-ahead log, in bytes
    qint64 after = 0;
};

// Rebuilds the file of connection (VACUUM) so that it holds no free pages,
// then empties its write-ahead log into it. Throws the engine's exception,
// or for a reader "<path> is open for reading only". The file is as it
// was when the rebuild fails.
CompactionSizes CompactDatabase(DatabaseConnection& connection);

// "Database compacted: 1.2 MB before, 400 KB after (<path>)".
QString CompactionText(const QString& path, const CompactionSizes& sizes);

// File > "Compact database": compacts the open database and says how large
// it was and is, or shows "Error compacting the database: " with the
// engine's text. Refused with a message when no database is open or it is
// open for reading only. True when compacted.
bool CompactOpenDatabase(Session& session);

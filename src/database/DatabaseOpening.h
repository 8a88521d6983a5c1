#pragma once

#include <QString>
#include <optional>

class DatabaseConnection;
class Session;

// The open command: with an empty path asks for a file ("Open
// Database..."), then opens it with OpenResumeDatabase.
void GetDatabaseName(Session& session, const QString& path);

// Opens and checks the file, makes it the current database, loads the
// summary's rows and the first record, and records the path as
// LastUsedDB. When the file cannot be opened or fails the check, the
// database open before stays current and usable. True on success.
bool OpenResumeDatabase(Session& session, const QString& path);

// Whether connection is a database of this program that this version can
// read; on success CurrentFieldNames holds its field-names list. Shows
// "Invalid database" or the later-version message itself.
bool CheckDatabase(Session& session, DatabaseConnection& connection);

// Reloads the summary's rows (every FormID, ascending) and makes current
// the row of current, or the last row when current is empty or gone.
bool ReloadSummary(Session& session, std::optional<qint64> current);

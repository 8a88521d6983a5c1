#pragma once

#include "responses/ResponseImport.h"

#include <QString>
#include <QStringList>
#include <vector>

class DatabaseConnection;
class Session;

// A database's import folder: a folder (a Maildir, or any folder of saved
// messages and response files) whose new and changed files are imported
// when the database opens, on File > Scan import folder, and while the
// desktop program watches it. The folder is kept in the database's Info
// rows, and the path, size and modification time of every file read in
// "ImportFolderFiles", a table made when first needed; an unchanged file is
// never opened again, and the ledger keeps the known messages of a changed
// one out.

// The open database's import folder; empty when it has none.
QString ImportFolderOf(Session& session);
// Keeps folder as the import folder (empty: none); false after telling why.
bool SetImportFolder(Session& session, const QString& folder);

struct FolderFile {
    QString path;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch
};

struct FolderChanges {
    std::vector<FolderFile> changed; // new or changed since last read, in name order
    int unchanged = 0;
    QStringList folders; // the folder and every folder below it that is read
};

// The files below folder that hold mail or responses (hidden ones, a
// Maildir's tmp/ and its own files left out) not read as they are now.
FolderChanges FindFolderChanges(DatabaseConnection& connection, const QString& folder);
// Remembers the files as read.
void KeepFolderStates(DatabaseConnection& connection, const std::vector<FolderFile>& files);

struct FolderScan {
    bool scanned = false; // false: no database or no import folder
    FolderChanges changes;
    ImportOutcome outcome; // of the import of the changed files
};

// Imports the import folder's new and changed files with the import's
// texts; a stopped import or a refused write leaves their states unkept,
// so the next scan reads them again.
FolderScan ScanImportFolder(Session& session, const ImportOptions& options);

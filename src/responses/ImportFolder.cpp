#include "responses/ImportFolder.h"

#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "platform/WriteTransaction.h"
#include "responses/ResponseFolder.h"
#include "session/Session.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHash>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <exception>
#include <sys/stat.h>

namespace {

constexpr const char* kFolderKey = "ImportFolder";
constexpr const char* kCreateStates =
    "CREATE TABLE IF NOT EXISTS \"ImportFolderFiles\" (\"Path\" TEXT PRIMARY KEY, \"Size\" "
    "INTEGER NOT NULL, \"Modified\" INTEGER NOT NULL) WITHOUT ROWID";

bool HasStates(SQLite::Database& db)
{
    return db.tableExists("ImportFolderFiles");
}

// The folder's files as an import reads them, each with its size and time.
void Walk(const QString& folder, FolderChanges& out, std::vector<FolderFile>& files)
{
    WalkResponseFolder(
        folder,
        [&](const QString& path) {
            struct stat st {};
            if (::stat(QFile::encodeName(path).constData(), &st) != 0)
                return;
            FolderFile file;
            file.path = path;
            file.size = st.st_size;
            file.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
            files.push_back(std::move(file));
        },
        [&](const QString& read) { out.folders.append(read); });
}

} // namespace

QString ImportFolderOf(Session& session)
{
    if (!session.Database.CurrentDatabase)
        return {};
    try {
        SQLite::Statement read(session.Database.CurrentDatabase->Db(),
                               "SELECT \"Value\" FROM \"Info\" WHERE \"Key\" = ? ORDER BY "
                               "\"KeyID\" LIMIT 1");
        read.bind(1, kFolderKey);
        if (read.executeStep())
            return QString::fromStdString(read.getColumn(0).getString());
    } catch (const std::exception&) {
        // A file that cannot be read has no import folder to scan.
    }
    return {};
}

bool SetImportFolder(Session& session, const QString& folder)
{
    DatabaseConnection* connection = session.Database.CurrentDatabase.get();
    if (!connection)
        return false;
    try {
        InWriteTransaction(*connection, [&](SQLite::Database& db) {
            SQLite::Statement remove(db, "DELETE FROM \"Info\" WHERE \"Key\" = ?");
            remove.bind(1, kFolderKey);
            remove.exec();
            // The files of another folder are not this one's.
            if (HasStates(db))
                db.exec("DELETE FROM \"ImportFolderFiles\"");
            if (folder.isEmpty())
                return;
            SQLite::Statement insert(db, "INSERT INTO \"Info\" (\"Key\", \"Value\") VALUES (?, ?)");
            insert.bind(1, kFolderKey);
            insert.bind(2, folder.toStdString());
            insert.exec();
        });
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("The import folder cannot be kept: ") + ErrorText(e),
                              MessageIcon::Exclamation);
        return false;
    }
    return true;
}

FolderChanges FindFolderChanges(DatabaseConnection& connection, const QString& folder)
{
    FolderChanges changes;
    std::vector<FolderFile> files;
    if (QFileInfo(folder).isDir())
        Walk(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()), changes, files);
    QHash<QString, std::pair<qint64, qint64>> kept;
    SQLite::Database& db = connection.Db();
    if (HasStates(db)) {
        kept.reserve(static_cast<qsizetype>(files.size()));
        SQLite::Statement rows(db, "SELECT \"Path\", \"Size\", \"Modified\" FROM "
                                   "\"ImportFolderFiles\"");
        while (rows.executeStep())
            kept.insert(QString::fromUtf8(rows.getColumn(0).getText()),
                        {rows.getColumn(1).getInt64(), rows.getColumn(2).getInt64()});
    }
    for (FolderFile& file : files) {
        const auto found = kept.constFind(file.path);
        if (found != kept.constEnd() && found->first == file.size && found->second == file.modified)
            ++changes.unchanged;
        else
            changes.changed.push_back(std::move(file));
    }
    std::sort(changes.changed.begin(), changes.changed.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.path < b.path; });
    return changes;
}

void KeepFolderStates(DatabaseConnection& connection, const std::vector<FolderFile>& files)
{
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        db.exec(kCreateStates);
        SQLite::Statement keep(db, "INSERT OR REPLACE INTO \"ImportFolderFiles\" (\"Path\", "
                                   "\"Size\", \"Modified\") VALUES (?, ?, ?)");
        for (const FolderFile& file : files) {
            keep.bind(1, file.path.toStdString());
            keep.bind(2, static_cast<int64_t>(file.size));
            keep.bind(3, static_cast<int64_t>(file.modified));
            keep.exec();
            keep.reset();
        }
    });
}

FolderScan ScanImportFolder(Session& session, const ImportOptions& options)
{
    FolderScan scan;
    DatabaseConnection* connection = session.Database.CurrentDatabase.get();
    const QString folder = ImportFolderOf(session);
    if (!connection || folder.isEmpty())
        return scan;
    scan.scanned = true;
    Ui& ui = session.ui;
    if (!QFileInfo(folder).isDir()) {
        ui.MessageBox(QStringLiteral("The import folder ") + folder +
                          QStringLiteral(" cannot be read: it is not a folder"),
                      MessageIcon::Exclamation);
        scan.outcome.failed = true;
        return scan;
    }
    try {
        scan.changes = FindFolderChanges(*connection, folder);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("The import folder cannot be scanned: ") + ErrorText(e),
                      MessageIcon::Exclamation);
        scan.outcome.failed = true;
        return scan;
    }
    if (scan.changes.changed.empty()) {
        ui.SetStatusText(QStringLiteral("No new or changed files in the import folder ") + folder);
        if (options.showTally)
            ui.MessageBox(QStringLiteral("Import finished: ") + ImportTally().Line(),
                          MessageIcon::Information);
        return scan;
    }
    QStringList paths;
    for (const FolderFile& file : scan.changes.changed)
        paths.append(file.path);
    scan.outcome = ImportResponseFiles(session, paths, options);
    if (scan.outcome.cancelled || scan.outcome.stopped || scan.outcome.writeFailed)
        return scan;
    try {
        KeepFolderStates(*connection, scan.changes.changed);
    } catch (const std::exception& e) {
        ui.MessageBox(QStringLiteral("The import folder's files cannot be marked as read (they "
                                     "are read again next time): ") +
                          ErrorText(e),
                      MessageIcon::Exclamation);
        scan.outcome.failed = true;
    }
    return scan;
}

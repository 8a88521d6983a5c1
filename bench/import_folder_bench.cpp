// The rescan of a database's import folder that has not changed: 100,000
// files (a Maildir of 50,000 messages and a folder tree of 50,000 response
// files), all read before, walked and compared with the kept states.
// Run: build-release/bench/import_folder_bench [files]
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "responses/ImportFolder.h"
#include "session/Session.h"

#include "PeakMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100000;
    QTemporaryDir temp;
    const QString folder = temp.filePath(QStringLiteral("inbox"));
    for (const char* sub : {"inbox/mail/cur", "inbox/mail/new", "inbox/mail/tmp"})
        QDir().mkpath(temp.filePath(QString::fromLatin1(sub)));
    for (int n = 0; n < files; ++n) {
        const QString path =
            n % 2 ? temp.filePath(QStringLiteral("inbox/mail/cur/%1.host:2,").arg(n))
                  : temp.filePath(QStringLiteral("inbox/forms/%1/%2.txt").arg(n / 1000).arg(n));
        if (n % 2 == 0 && n % 1000 == 0)
            QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("name=Person" + QByteArray::number(n) + "\r\n\r\n");
    }
    const QString db = temp.filePath(QStringLiteral("bench.fdb"));
    ScriptedUi quiet;
    CreateNewDatabase(quiet, db);
    ScriptedUi ui;
    Session session(ui, ProgramFolders(temp.path(), temp.path()));
    OpenResumeDatabase(session, db);
    SetImportFolder(session, folder);
    // Read before: the states a first scan keeps.
    const FolderChanges first = FindFolderChanges(*session.Database.CurrentDatabase, folder);
    KeepFolderStates(*session.Database.CurrentDatabase, first.changed);

    for (int round = 1; round <= 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        const FolderScan scan = ScanImportFolder(session, {});
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("rescan %d of an unchanged folder of %d files: %.3f s (%zu changed, %d "
                    "unchanged, %lld folders)\n",
                    round, files, seconds, scan.changes.changed.size(), scan.changes.unchanged,
                    static_cast<long long>(scan.changes.folders.size()));
    }
    std::printf("peak RSS: %ld KB\n", bench::PeakKb());
    return 0;
}

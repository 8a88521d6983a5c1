#pragma once

// One import of a response file into a new database, timed as the program
// runs it (the Import command on a session), for the import benchmarks.
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "responses/ResponseImport.h"

#include <QElapsedTimer>
#include <cstdio>

namespace bench {

// Seconds the import of file into the new database db took; prints its
// status text and any error it reported.
inline double ImportSeconds(const QString& folder, const QString& db, const QString& file)
{
    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder, folder));
    session.Database.RememberLastUsedDB = false;
    CreateNewDatabase(ui, db);
    OpenResumeDatabase(session, db);
    ui.QueueFiles({file});
    QElapsedTimer timer;
    timer.start();
    const ImportOutcome outcome = ImportResume(session);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("  %s\n", ui.StatusText().toUtf8().constData());
    if (outcome.failed)
        std::printf("  import reported errors: %s\n",
                    ui.MessageTexts().join(" | ").toUtf8().constData());
    return seconds;
}

} // namespace bench

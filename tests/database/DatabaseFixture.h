#pragma once

#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <SQLiteCpp/Database.h>

// A session over a scripted Ui with the test locale, in a temporary
// program folder, and helpers to make and open databases there.
struct DatabaseFixture {
    TempDir dir;
    ScriptedUi ui;
    FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 0))};
    Session session{ui, dir.Folders(), Regional(TestLocale()), &clock};

    QString Create(const QString& name = QStringLiteral("test.fdb"))
    {
        ScriptedUi quiet;
        const QString path = dir.File(name);
        CreateNewDatabase(quiet, path);
        return path;
    }
    QString CreateAndOpen(const QString& name = QStringLiteral("test.fdb"))
    {
        const QString path = Create(name);
        OpenResumeDatabase(session, path);
        ui.messages.clear();
        ui.statusTexts.clear();
        ui.log.clear();
        return path;
    }
    SQLite::Database& Db() { return session.Database.CurrentDatabase->Db(); }
    int Count(const char* sql) { return Db().execAndGet(sql).getInt(); }
    QString Text(const char* sql) { return QString::fromUtf8(Db().execAndGet(sql).getText()); }
};

#pragma once

#include <QString>

class ProgramFolders;

// What the program does once its windows are up: which database it opens,
// if any, and whether it greets the user with the start-up options dialog.
struct StartupPlan {
    enum Mode { OpenNothing = 0, OpenLastUsed = 1, OpenCommandLine = 2 };

    int startMode = OpenNothing; // AutoLoadDB's number, or 2 with a command line
    bool openDatabase = false;
    QString databasePath; // the database to open (may be empty: the open reports it)
    bool showWizard = false;
    // A query file the command line named (a double-clicked .qry): loaded
    // into the Query Builder of the database the start-up opens, if any.
    QString queryFile;
};

// Decides from the settings file and the command line text (the arguments
// after the program name, joined by blanks). A command line wins over
// AutoLoadDB; opening a database, or NoWizard set to 1, suppresses the
// start-up options dialog. Start modes other than 1 and 2 open nothing. A
// command line naming a query file is not a database: the start-up runs
// as without one, and the plan names the query file.
StartupPlan PlanStartup(const ProgramFolders& folders, const QString& commandLine);

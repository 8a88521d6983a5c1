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

// The database the command line names: the arguments after the program's
// name are one path (joined by blanks, so a path with blanks need not be
// quoted); a relative one is taken from workingFolder, the folder the
// program was started in, since the program then moves to its own folder.
// Empty when no argument is given.
QString CommandLineDatabase(const QStringList& arguments, const QString& workingFolder);

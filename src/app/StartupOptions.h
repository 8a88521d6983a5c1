#pragma once

#include "app/CommandTable.h"

#include <QString>
#include <functional>

class ProgramFolders;

// The start-up options dialog's texts and the preferences it keeps.
namespace StartupOptions {

// Tasks, by the index of the option (and of the direct button).
enum Task {
    OpenExisting = 0,
    CreateNew = 1,
    OpenSample = 2,
    ViewTutorial = 3,
    SaveOptionsOnly = 4
};

// Whether a command works in this program (by default: the command
// table's built flag).
using CommandWorks = std::function<bool(CommandId)>;
bool IsBuilt(CommandId id);

// The tips shown in the dialog's "Quick Tips" frame; they name only the
// commands that work.
QString QuickTipsText(const CommandWorks& works = IsBuilt);

// The note shown after the sample database has been opened: the sample
// queries when the Query Builder works, else how to search with Quick Find.
QString SampleQueriesNote(const CommandWorks& works = IsBuilt);

// Told when the tutorial could not be handed to a web browser.
QString NoBrowserMessage(const QString& tutorialPath);

// Whether the boxes start ticked: the key reads as 1.
bool AutoOpenTicked(const ProgramFolders& folders);
bool NoWizardTicked(const ProgramFolders& folders);

// The automatic-open box changed: AutoLoadDB takes its state, and when it
// is ticked with a database open, LastUsedDB takes that database's path.
bool AutoOpenChanged(const ProgramFolders& folders, bool ticked, const QString& openDatabasePath,
                     QString* error = nullptr);

// The don't-show box changed: NoWizard takes its state.
bool NoWizardChanged(const ProgramFolders& folders, bool ticked, QString* error = nullptr);

// Whether the dialog stays open after running task (only the tutorial
// keeps it open).
bool StaysOpenAfter(int task);

} // namespace StartupOptions

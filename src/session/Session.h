#pragma once

#include "session/FormConfig.h"
#include "session/SessionEvents.h"
#include "session/DatabaseState.h"
#include "session/OutputState.h"
#include "platform/Clock.h"
#include "platform/ProgramFolders.h"
#include "platform/Regional.h"
#include "platform/Ui.h"
#include "session/RecordTables.h"
#include "session/RecordSelection.h"
#include "session/SearchState.h"

#include <QTemporaryDir>
#include <memory>

// The program-wide state, owned by one object that main creates and passes
// by reference. Each subsystem keeps its state here under the names the
// program has always used for it.
class Session {
    SystemClock m_systemClock; // first, so Now may refer to it
    // The running program's own folder (mode 0700) for its search results,
    // removed with everything in it when the program ends.
    std::unique_ptr<QTemporaryDir> m_private;

public:
    Session(Ui& ui, ProgramFolders folders, Regional regional = Regional(),
            const Clock* clock = nullptr);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Ui& ui;
    ProgramFolders Folders;
    Regional RegionalSettings;
    const Clock& Now;

    // The one record held in memory.
    RecordTables Tables;

    // The form configuration the viewer, searches and output follow.
    FormConfig Config;

    // The open database and what the windows are told.
    DatabaseState Database;
    SessionEvents Events;

    // Quick Find, the Query Builder and the records an operation applies to.
    SearchState Search;
    RecordSelection Selection;
    // Report templates, the template engine's state and the output field list.
    OutputState Output;
};

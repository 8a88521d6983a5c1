#pragma once

#include <QLoggingCategory>

// One log category per subsystem, "tallowmere.<folder>". Below warnings they
// are silent unless turned on: tallowmere-cli --verbose turns on all of
// them, QT_LOGGING_RULES any of them ("tallowmere.database.debug=true"
// prints every SQL statement the engine runs and how long it took).
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcSession)
Q_DECLARE_LOGGING_CATEGORY(lcConfig)
Q_DECLARE_LOGGING_CATEGORY(lcDatabase)
Q_DECLARE_LOGGING_CATEGORY(lcDuplicates)
Q_DECLARE_LOGGING_CATEGORY(lcOutput)
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
Q_DECLARE_LOGGING_CATEGORY(lcResponses)
Q_DECLARE_LOGGING_CATEGORY(lcViewer)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcCli)
Q_DECLARE_LOGGING_CATEGORY(lcRender)
Q_DECLARE_LOGGING_CATEGORY(lcGui)

// Turns on the debug and info messages of every category; rules in
// QT_LOGGING_RULES still win.
void EnableVerboseLogging();

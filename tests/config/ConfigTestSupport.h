#pragma once

#include "session/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <QString>

// A session over a temporary program folder with a scripted Ui.
struct ConfigFixture {
    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
};

// One entry line with the fifteen fields given, followed by its end line.
inline QString EntryText(const QStringList& fields)
{
    return fields.join(QLatin1Char('|')) + QStringLiteral("|\r\n||\r\n");
}

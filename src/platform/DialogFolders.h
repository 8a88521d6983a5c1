#pragma once

#include "platform/Ui.h"

class ProgramFolders;

// Where a file dialog starts: in the folder the user last chose a file of
// the same kind from (kept in the settings file), at first in the user's
// documents folder; never in the program's own folder, which is read-only
// once installed.

// The kind of file a dialog asks for: its default extension, else the
// extension of its first filter that names one ("fdb", "cfg"), else "any".
QString FileDialogKind(const FileDialogRequest& request);

// The settings key that keeps the last folder of a kind, "LastFolder_fdb".
QString LastFolderKey(const QString& kind);

// The folder the dialog starts in.
QString DialogStartFolder(const ProgramFolders& folders, const FileDialogRequest& request);

// Remembers the folder of the first chosen path for the request's kind.
// A settings file that cannot be written only loses the memory.
void RememberDialogFolder(const ProgramFolders& folders, const FileDialogRequest& request,
                          const QStringList& chosen);

#pragma once

#include "platform/Ui.h"

#include "session/FormConfig.h"

#include <QStringList>

class RecordTables;
class Session;

// Splits the text of a configuration file into lines, each held with a
// CR LF ending: a line feed without a carriage return before it gets one,
// and a last line without a line break gets a carriage return before its
// last character (so it never counts as an entry's end line).
QStringList SplitConfigLines(const QString& text);

// Reads the entries of a configuration file's text into config (which
// should be fresh): blank and "#" lines between entries are dropped, each
// entry runs to its "||" end line, is parsed, placed and offered as a
// record-level field. An unfinished entry at the end stays in
// ConfigEntries without being parsed. False, with the reason in error, at
// the first entry that cannot be parsed or placed; the entries before it
// are then in config.
bool ReadConfigText(const QString& text, const RecordTables& tables, FormConfig& config,
                    QString* error);

// Loads a configuration file into session.Config: name is a file of the
// program folder (an absolute path stays as it is); an empty name asks for
// the file. True when the configuration was read, and also when the user
// cancelled the choice of file. On failure the status text gives the
// reason (also put in *reason) and session.Config is left as it was.
//
// After a successful load (*loaded set) the caller shows the record viewer
// window and rebuilds the Quick Find field list from
// session.Config.RecordFieldList.
bool LoadConfigFile(Session& session, const QString& name, bool* loaded = nullptr,
                    QString* reason = nullptr);

// Loads "default.cfg" from the program folder, as the record viewer does
// when it is created. On failure it shows "frmBrowser Load: Error reading
// Default.cfg: " with the reason and returns false: the program then ends.
bool LoadDefaultConfig(Session& session);

// The configuration file dialogs' request: the title, both filters with
// configuration files chosen, and "*.cfg" proposed.
FileDialogRequest ConfigFileDialog(const QString& title);

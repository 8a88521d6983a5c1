#pragma once

#include <QString>

class Ui;

// The program's version as written into a new file's Info rows: "1.9.0".
QString ProgramVersionText();
// The program's major version, which a file must not pass to be opened.
int ProgramMajorVersion();

// Creates a new database file at path with the record tables built from
// the schema lines, the Info table and its four rows, then closes it and
// tells the user "<path> Database Created". Refuses an existing file (it
// is left untouched) with the engine's message. Returns true on success.
bool CreateNewDatabase(Ui& ui, const QString& path);

// For a path that is a symbolic link to nothing, the text saying so (so
// that opening and creating tell the same story); else empty.
QString DanglingLinkProblem(const QString& path);

#pragma once

#include <QString>

class Session;

// Reads the template with this file name from the program folder (or at
// this path) and keeps
// its blocks in session.Output.TemplateLines, so pages can be drawn again
// without reading the file. "Print error: " and the reason when it cannot
// be read; the blocks loaded before stay.
bool LoadPrintTemplate(Session& session, const QString& fileName);

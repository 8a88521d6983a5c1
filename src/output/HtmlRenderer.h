#pragma once

#include <QString>

class QIODevice;
class Session;

// Writes the record in session.Tables through the template at path to out,
// block by block, each followed by CR LF. Inserted values are HTML-escaped
// (CR LF becomes "<BR>"); the template's own text is written as it is.
// False when the template cannot be read ("Print error: ") or the output
// cannot be written ("Error processing HTML line: "); a faulty block shows
// its message and ends the rendering early.
bool RenderHtmlTemplate(Session& session, const QString& path, QIODevice& out);
bool RenderHtmlBody(Session& session, const QString& body, QIODevice& out);

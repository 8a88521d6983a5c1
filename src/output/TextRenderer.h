#pragma once

#include <QString>

class Session;

// Lays out the record in session.Tables through the template at path as
// fixed-pitch text (80 columns) into session.Output.OutputText. False only
// when the template cannot be read ("Print error: " has been shown); a
// faulty block shows its own message and ends the rendering early with what
// was produced so far.
bool RenderTextTemplate(Session& session, const QString& path);

// Lays out the record in memory through the record template
// "Default_Dat.rpt" of the program folders, as the View command and a
// double-click in the summary show it. False when it cannot be rendered.
bool RenderRecordView(Session& session);

// The same for a body already read (no file involved).
bool RenderTextBody(Session& session, const QString& body);

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Session;

// Loads the record on which RecordCursor stands into the record tables:
// the header from its Forms row, one entry per Data row in DataID order.
// Nulls read as empty text, dates in the short date format. Reports its
// own errors ("ReadRecords: ..."); false when it failed.
bool ReadResumes(Session& session);

// The header of stored record formId as ReadResumes puts it into the
// tables (FormID to source); none when it cannot be read.
std::optional<QStringList> ReadStoredHeader(Session& session, qint64 formId);

// Empties the viewer's boxes and field lists (the viewer does it on
// DisplayCleared). False with the error text in the status bar on failure.
bool ClearDisplay(Session& session);

// Replaces the record in memory and on screen by an empty, unchanged one
// (a save then inserts a new Forms row). False with *error on failure.
bool NewResume(Session& session, QString* error = nullptr);

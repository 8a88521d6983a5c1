#pragma once

#include <QDate>
#include <QString>

class Session;

// Turns a pasted text (the clipboard's, or text dropped on the window) into
// one record in the session's record tables: the first response in it, by
// the same rules as a response file. The tables are emptied first; a whole
// mail message pasted as it was saved (headers, MIME parts,
// quoted-printable, base64, charsets) is read as its body's text, with
// numeric character references in values decoded. The record is dated with
// date and gets source as its source, whatever the message says; blank
// rows are removed. Returns kRecordRead when a record is in the tables,
// kNoRecord when the text holds no response (or none that could be
// decoded or held; ReadRecord has reported why).
int ReadPastedRecord(Session& session, const QString& text, const QDate& date,
                     const QString& source);

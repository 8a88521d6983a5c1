#pragma once

#include <QDate>
#include <QString>

class Sha256;
class RecordTables;
class Regional;
class ResponseFile;
class Ui;

// Results of ReadRecord.
enum ReadRecordResult {
    kNoRecord = 0,      // no body found, or a body that could not be decoded
    kRecordRead = 1,    // at least one field was stored
    kRecordDropped = 2, // a body too large for the record tables: not stored,
                        // but reading the file may go on
};

// Which lines may make up a body. Plain text files keep the rules they
// always had; in mail a line must also be one a browser's form encoding
// could have written (see FormEncodedLine.h).
enum class BodyRule { PlainText, Mail };

// Finds one form response and fills the record tables with it. With a
// non-empty text the body is that text; otherwise lines are read from file
// (successive calls continue in it). The first field's value names the
// record; date and source fill the header. Messages go through ui. With
// bodyHash, the lines of a body read from file are added to it, each
// trimmed and followed by LF.
int ReadRecord(RecordTables& tables, Ui& ui, const Regional& regional, const QString& text,
               const QDate& date, const QString& source, ResponseFile* file,
               Sha256* bodyHash = nullptr, BodyRule rule = BodyRule::PlainText);

// Whether a trimmed line starts an encoded body: its first "=" stands at
// the second character or later, and it is not plain text.
bool StartsResponseBody(const QString& trimmedLine);

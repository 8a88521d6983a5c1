#pragma once

#include <string>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <stdexcept>

// Text operations on URL-encoded form response bodies.

// A "%" followed by fewer than two characters.
class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the line is not part of an encoded body: it holds a blank, or
// its "=" and "&" counts drift more than one apart. An empty line is not
// plain.
bool IsPlainTextLine(const QString& line);
// The same test on the bytes of a line already trimmed of blanks.
bool IsPlainTextBytes(QByteArrayView trimmed);

// Decodes one encoded name or value: "+" becomes a blank, "%XY" the byte
// with that hexadecimal code, and the resulting bytes become text (UTF-8
// when valid, else Windows-1252). Throws DecodeError on a "%" in the last
// or next-to-last position.
QString DecodeResponseText(const QString& encoded);
QString DecodeResponseBytes(const QByteArray& encoded);
// The byte-level step alone.
QByteArray PercentDecode(const QByteArray& encoded);
// The same step over size bytes at data, written over them (the decoded
// bytes are never more); returns how many there are now.
qsizetype PercentDecodeInPlace(char* data, qsizetype size);

// Removes line breaks (CR LF) from the start and end of text; with
// joinLines also turns every inner CR LF into one blank.
[[nodiscard]] QString RemoveCRLF(bool joinLines, const QString& text);
// The same on UTF-8 text, in place.
void RemoveCRLF(bool joinLines, std::string& text);

// Blanks as the program trims them: spaces and tabs.
bool IsBlank(QChar c);
QString TrimBlanks(const QString& text);
QByteArray TrimBlanks(const QByteArray& text);

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Bytes from files and percent-escapes become text by one rule: UTF-8 when
// the bytes are valid UTF-8, otherwise Windows-1252, the program's legacy
// single-byte code page. Each takes one pass over the bytes plus the text
// it makes.
QString TextFromBytes(QByteArrayView bytes);

bool IsValidUtf8(QByteArrayView bytes);
// Whether every byte is below 0x80; millions of values are asked.
bool IsAscii(QByteArrayView bytes);
QString TextFromWindows1252(QByteArrayView bytes);
// The bytes TextFromWindows1252 made text from; a character it never
// makes becomes "?".
QByteArray BytesFromWindows1252(QStringView text);

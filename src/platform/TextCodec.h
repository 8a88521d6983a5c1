#pragma once

#include <QByteArray>
#include <QString>

// Bytes from files and percent-escapes become text by one rule: UTF-8 when
// the bytes are valid UTF-8, otherwise Windows-1252, the program's legacy
// single-byte code page.
QString TextFromBytes(const QByteArray& bytes);

bool IsValidUtf8(const QByteArray& bytes);
QString TextFromWindows1252(const QByteArray& bytes);

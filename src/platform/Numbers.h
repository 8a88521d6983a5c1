#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// The program reads numbers from settings, schema lines, configuration
// entries and templates by their leading numeric prefix: leading blanks are
// skipped, an optional sign, digits with one decimal point and an optional
// exponent are taken, and reading stops at the first character that cannot
// belong to the number. No digits at all give 0.
double LeadingNumber(const QString& text);

// Rounds half to even, as the program's integer conversions always have.
double RoundHalfEven(double value);

// The value rounded to a signed 16-bit or 32-bit integer; empty when it
// does not fit.
std::optional<qint16> ToInt16(double value);
std::optional<qint32> ToInt32(double value);

// Whole decimal number the way a signed 16-bit counter is written in files:
// a blank for the sign of a non-negative number, for example " 2".
QString NumberWithSignSpace(qint64 value);

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

class DatabaseConnection;

// What makes two records of a database possible duplicates: the same
// values in the key fields (or the same whole response: every field name
// and value), optionally only when their dates lie within a number of days
// of each other.
struct DuplicateKeys {
    QStringList fields;
    bool wholeResponse = false;
    std::optional<int> withinDays;

    bool IsSet() const { return wholeResponse || !fields.isEmpty(); }
    bool operator==(const DuplicateKeys&) const = default;
};

// A key field's value as it is compared, in UTF-8: trimmed, letter case
// ignored; a value holding "@" (an e-mail address) in lower case; a
// phone-like value (only digits, blanks and + - ( ) ., at least 7 digits)
// by its digits alone. Empty for a blank value, which never matches.
std::string ComparedKeyValue(QByteArrayView utf8);
// The same appended to out, for many records in a row.
void AppendComparedKeyValue(QByteArrayView utf8, std::string& out);

// The keys saved with the database, in a table of their own made when they
// are first saved; none (IsSet() false) when nothing was saved. Both throw
// the engine's errors.
DuplicateKeys LoadDuplicateKeys(DatabaseConnection& connection);
void SaveDuplicateKeys(DatabaseConnection& connection, const DuplicateKeys& keys);

// The key fields spelt as the database's field-names list spells them
// (letter case ignored). A name the list does not hold is put in *unknown
// and the result is empty.
QStringList KnownKeyFields(const QStringList& wanted, const QString& fieldNamesList,
                           QString* unknown);

#pragma once

#include <QByteArray>

class DatabaseConnection;

// The database's own key for pseudonyms: 32 random bytes, made the first
// time a pseudonym is needed and kept in the Info table ("PseudonymKey",
// in hex), so the same value gets the same pseudonym in every output of
// this database and another one in any other database. Throws the
// engine's errors (making the key needs a database open for writing).
QByteArray PseudonymKeyOf(DatabaseConnection& connection);
// The key when one was made, else empty; never writes.
QByteArray StoredPseudonymKey(DatabaseConnection& connection);

#pragma once

#include "database/ChangeLog.h"

#include <QString>
#include <QtGlobal>
#include <vector>

class Clock;
class DatabaseConnection;

// Deletes the records (their fields go with them) and logs it, kind and
// what (its %1 the count deleted), with the records' numbers, in one
// transaction: an erase is whole or not done at all, and never done
// without its entry. what must not hold any of the erased text. Returns
// how many were deleted; throws the engine's errors.
int EraseRecords(DatabaseConnection& connection, const Clock& clock, const std::vector<qint64>& ids,
                 ChangeKind kind, const QString& what);

// Logs that the records of a person's data were written out ("3 record(s)
// of a person's data saved as JSON"), in a transaction of its own. Throws
// the engine's errors.
void LogPersonExport(DatabaseConnection& connection, const Clock& clock,
                     const std::vector<qint64>& ids, const QString& format);

// The change log's entry of a person's erase: how many records, never the
// address or text that found them.
QString ErasedPersonText(bool address);

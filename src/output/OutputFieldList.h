#pragma once

#include "session/OutputField.h"

#include <QList>
#include <QStringList>

struct OutputState;

// Rebuilds OutputFieldList and HeaderFieldCount from the configuration's
// record-level fields (those whose qualified name begins with "Forms.") and
// the database's field-names list (names ended by CR LF; names shorter than
// two characters and text after the last CR are left out). An entry new to
// the list starts selected; one listed before keeps the choice made for it.
// Returns the field names taken from the list, in order.
QStringList FillOutputFieldList(OutputState& state, const QList<RecordLevelField>& recordFields,
                                const QString& fieldNamesList);

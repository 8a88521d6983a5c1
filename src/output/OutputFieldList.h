#pragma once

#include <QList>
#include <QString>

// One field offered for output. Header entries carry the record cell as
// their key ("1.1" is the record name); the others carry a field name.
struct OutputField {
    QString Key;
    QString Label;
    bool PrintStat = true;
};

// A record-level field of the form configuration: its qualified name
// ("Forms.Form_Name"), the record cell it shows ("1.1") and its label.
struct RecordLevelField {
    QString QualifiedName;
    QString DataLocation;
    QString Label;
};

struct OutputState;

// Rebuilds OutputFieldList and HeaderFieldCount from the configuration's
// record-level fields (those whose qualified name begins with "Forms.") and
// the database's field-names list (names ended by CR LF; names shorter than
// two characters and text after the last CR are left out). An entry new to
// the list starts selected; one listed before keeps the choice made for it.
// Returns the field names taken from the list, in order.
QStringList FillOutputFieldList(OutputState& state, const QList<RecordLevelField>& recordFields,
                                const QString& fieldNamesList);

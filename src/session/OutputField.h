#pragma once

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

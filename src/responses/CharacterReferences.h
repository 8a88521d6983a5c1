#pragma once

#include <QString>

class RecordTables;

// Browsers submit characters that the form's page cannot hold as HTML
// numeric character references ("&#8364;", "&#x144;"); these turn them
// back into the characters. A reference to no character (0, a surrogate,
// beyond U+10FFFF) or without its ";" stays as it is.
QString DecodeCharacterReferences(const QString& text);

// The same for every field value of the record in the tables, and for its
// name (the first field's value).
void DecodeRecordCharacterReferences(RecordTables& tables);

#pragma once

#include "session/FormConfig.h"
#include "platform/Ui.h"
#include "search/QueryFile.h"
#include "session/QueryRow.h"

// The Query Builder's field list: the display name of every record-level
// field of the configuration, then every searchable name of the
// database's field-name list.
QStringList QueryFieldList(const FormConfig& config, const QString& currentFieldNames);

// Looks a qualified name up among the configuration's record-level fields
// (exact comparison) and parses its entry for its type and choices.
RecordFieldLookup LookupRecordField(FormConfig& config, const QString& qualifiedName);

// Choosing a field in the grid's field column: a record-level field
// (display name compared trimmed, ignoring case) fills the hidden columns
// from its configuration entry; any other name is a field by name on Data.
// False, with "Error selecting field: ..." shown, when the entry does not
// parse.
bool ChooseQueryField(Ui& ui, FormConfig& config, QueryRow& row, const QString& chosen);

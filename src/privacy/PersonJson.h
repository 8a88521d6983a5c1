#pragma once

#include "privacy/PersonSearch.h"

#include <QByteArray>
#include <vector>

class DatabaseConnection;

// A person's data as one JSON document:
// {"query": "...", "text": false, "records": [{"FormID": n, "Form_Name": "...",
//  "Form_Notes": "...", "Form_Date": "YYYY-MM-DD"|null, "File_Name": "...",
//  "found_in": ["email", ...], "fields": [{"Field_Name": "...", "Field_Value": "..."}]}]}
// each record's fields in their stored order. Throws the engine's errors.
QByteArray PersonJson(DatabaseConnection& connection, const PersonQuery& query,
                      const std::vector<PersonRecord>& records);

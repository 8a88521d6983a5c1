#pragma once

#include "responses/FormField.h"

#include <QDate>
#include <QString>

class RecordTables;
class Regional;

// Fills the emptied record tables with fields as a URL-encoded body fills
// them: the fields in order, the first value naming the record, date and
// source in the header. Throws RecordTablesError when there are more
// fields than a record holds.
void StoreFormFields(RecordTables& tables, const Regional& regional, const FormFields& fields,
                     const QDate& date, const QString& source);

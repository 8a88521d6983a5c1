#include "responses/FieldRecord.h"

#include "platform/Regional.h"
#include "session/RecordTables.h"

void StoreFormFields(RecordTables& tables, const Regional& regional, const FormFields& fields,
                     const QDate& date, const QString& source)
{
    constexpr int F = RecordTables::kFieldTable;
    constexpr int H = RecordTables::kHeaderTable;
    for (const FormField& field : fields) {
        tables.PutArrayElement(F, RecordTables::FieldNameColumn, field.name);
        tables.PutArrayElement(F, RecordTables::FieldValueColumn, field.value);
        if (tables.CurrentRow[F] == 0) {
            tables.PutArrayElement(H, RecordTables::NameColumn, field.value);
            tables.PutArrayElement(H, RecordTables::DateColumn, regional.DateToText(date));
            tables.PutArrayElement(H, RecordTables::SourceColumn, source);
        }
        tables.CurrentRow[F] = static_cast<qint16>(tables.CurrentRow[F] + 1);
    }
}

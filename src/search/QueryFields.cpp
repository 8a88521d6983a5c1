#include "search/QueryFields.h"

#include "database/FieldNamesList.h"
#include "search/QuickFind.h"

QStringList QueryFieldList(const FormConfig& config, const QString& currentFieldNames)
{
    QStringList list;
    for (const RecordField& field : config.RecordFieldList)
        list.append(field.DisplayName);
    list.append(SplitFieldNamesList(currentFieldNames));
    return list;
}

RecordFieldLookup LookupRecordField(FormConfig& config, const QString& qualifiedName)
{
    RecordFieldLookup lookup;
    for (const RecordField& field : config.RecordFieldList) {
        if (field.QualifiedName != qualifiedName)
            continue;
        QString error;
        if (!ParseConfig(config, field.EntryNumber, &error)) {
            lookup.status = RecordFieldLookup::Status::Failed;
            lookup.error = error;
            return lookup;
        }
        lookup.status = RecordFieldLookup::Status::Found;
        lookup.dataType = config.ParsedEntry.DataType;
        lookup.comboItems = config.ParsedEntry.ComboItems;
        return lookup;
    }
    return lookup;
}

bool ChooseQueryField(Ui& ui, FormConfig& config, QueryRow& row, const QString& chosen)
{
    ui.Yield();
    row[kFieldNameColumn] = chosen;
    const QString wanted = chosen.trimmed();
    for (const RecordField& field : config.RecordFieldList) {
        if (field.DisplayName.trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        QString error;
        if (!ParseConfig(config, field.EntryNumber, &error)) {
            ui.MessageBox(QStringLiteral("Error selecting field: ") + error,
                          MessageIcon::Exclamation);
            return false;
        }
        row[kDatabaseFieldColumn] = field.QualifiedName;
        row[kDataTypeColumn] = config.ParsedEntry.DataType;
        row[kTableColumn] = field.QualifiedName.section(QLatin1Char('.'), 0, 0);
        row[kChoicesColumn] = config.ParsedEntry.ComboItems;
        return true;
    }
    row[kDatabaseFieldColumn] = QStringLiteral("Field_Value");
    row[kDataTypeColumn] = QStringLiteral("M");
    row[kTableColumn] = QStringLiteral("Data");
    row[kChoicesColumn].clear();
    return true;
}

// A query file as the Query Builder's Load Query reads it, with a
// configuration that knows the record name field.
#include "FuzzSupport.h"
#include "search/QueryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    const QString path = env.WriteFile(QStringLiteral("query.qry"), data, size);
    ScriptedUi ui;
    QueryGrid grid;
    int columns = 7;
    ReadQueryFile(ui, path, grid, columns, [](const QString& name) {
        RecordFieldLookup lookup;
        if (name == QStringLiteral("Forms.Form_Name")) {
            lookup.status = RecordFieldLookup::Status::Found;
            lookup.dataType = QStringLiteral("T");
            lookup.comboItems = QStringLiteral("Ann\r\nBob");
        } else if (name == QStringLiteral("Forms.Form_Date")) {
            lookup.status = RecordFieldLookup::Status::Failed;
            lookup.error = QStringLiteral("broken entry");
        }
        return lookup;
    });
    return 0;
}

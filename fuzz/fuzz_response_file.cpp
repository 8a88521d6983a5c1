// Response file bytes read the way import reads them: every response of
// the file into the record tables, blank rows removed, until the reader
// stops.
#include "FuzzSupport.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    const QString path = env.WriteFile(QStringLiteral("responses.txt"), data, size);
    ScriptedUi ui;
    RecordTables tables;
    tables.SetUi(&ui);
    const Regional regional;
    ResponseFile file(path);
    // A small line limit reaches the overlong-line paths with small inputs.
    file.SetLineLimit(4096);
    int result = kRecordRead;
    while (!file.AtEnd() && result > kNoRecord) {
        tables.ClearRecordTables();
        result = ReadRecord(tables, ui, regional, QString(), QDate(2024, 3, 5), path, &file);
        if (result == kRecordRead)
            tables.RemoveBlankRecords();
    }
    return 0;
}

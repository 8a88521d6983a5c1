// Clipboard text handed to the parser as one body, as the clipboard import
// does after it has found the body among the lines.
#include "FuzzSupport.h"
#include "platform/TextCodec.h"
#include "responses/ResponseParser.h"
#include "platform/ResponseText.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment::Get();
    const QString text = TextFromBytes(Bytes(data, size));
    ScriptedUi ui;
    RecordTables tables;
    tables.SetUi(&ui);
    const Regional regional;
    if (ReadRecord(tables, ui, regional, text, QDate(2024, 3, 5), QStringLiteral("Clipboard"),
                   nullptr) == kRecordRead)
        tables.RemoveBlankRecords();
    // The text helpers the clipboard import uses line by line.
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        StartsResponseBody(TrimBlanks(line));
        // Joined, a line holds no line break pair any more.
        if (RemoveCRLF(true, line).contains(QStringLiteral("\r\n")))
            std::abort();
    }
    return 0;
}

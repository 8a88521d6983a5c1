// Any bytes as a file given to import: told apart by content (plain text,
// a saved message, Apple Mail, mbox, Outlook, binary), then every message
// through the mail reader and its body through the response parser.
#include "FuzzSupport.h"
#include "responses/ResponseScan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    const QString path = env.WriteFile(QStringLiteral("message.eml"), data, size);
    ScriptedUi ui;
    Session session(ui, env.Folders());
    int records = 0;
    // Every record's fields are looked at, as import writes them.
    ScanResponseFile(session, path, [&] {
        for (int row = 0; row < session.Tables.FieldCount(); ++row)
            session.Tables.Field(row, RecordTables::FieldValueColumn).size();
        return ++records < 1000;
    });
    return 0;
}

// Arbitrary bytes opened as a database: the check, the summary, every
// record read into the tables, and the field-names list.
#include "FuzzSupport.h"
#include "database/DatabaseOpening.h"
#include "database/RecordReader.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnvironment& env = FuzzEnvironment::Get();
    QFile::remove(env.Folder() + QStringLiteral("/TempDB.tdb"));
    const QString path = env.WriteFile(QStringLiteral("fuzz.fdb"), data, size);
    ScriptedUi ui;
    Session session(ui, env.Folders());
    session.Database.RememberLastUsedDB = false;
    if (OpenResumeDatabase(session, path)) {
        int reads = 0;
        for (const qint64 id : session.Database.SummaryRecords.Ids()) {
            if (++reads > 64)
                break;
            if (session.Database.RecordCursor.Seek(id))
                ReadResumes(session);
        }
    }
    return 0;
}

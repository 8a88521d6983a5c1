// Arbitrary bytes opened as a database: the check, the summary, every
// record read into the tables, and the field-names list. The records are
// also streamed raw and written as delimited lines, which must be the lines
// the records read into the tables give.
#include "FuzzSupport.h"
#include "database/DatabaseOpening.h"
#include "database/RawRecord.h"
#include "database/RecordReader.h"
#include "database/RecordStream.h"
#include "output/DelimitedLine.h"

#include <QFile>
#include <cstdlib>

namespace {

constexpr int kRecords = 64;

void CompareDelimitedLines(Session& session)
{
    DelimitedOptions options;
    options.rfc4180Quoting = true;
    options.protectFormulas = true;
    options.removeLineBreaks = true;
    std::vector<std::string> raw;
    DelimitedLineWriter rawWriter(session.Output, options, QStringLiteral(","));
    std::vector<qint64> ids = session.Database.SummaryRecords.Ids();
    if (ids.size() > kRecords)
        ids.resize(kRecords);
    std::vector<qint64> streamed;
    RecordStream(session).ReadList(ids, RawRecordVisitor([&](const RawRecord& record) {
                                       streamed.push_back(record.FormId());
                                       raw.emplace_back();
                                       rawWriter.Write(record, raw.back());
                                       return true;
                                   }));
    DelimitedLineWriter textWriter(session.Output, options, QStringLiteral(","));
    for (size_t i = 0; i < streamed.size(); ++i) {
        if (!session.Database.RecordCursor.Seek(streamed[i]) || !ReadResumes(session))
            continue;
        QString line;
        textWriter.Write(session.Tables, line);
        if (line.toStdString() != raw[i])
            std::abort();
    }
}

} // namespace

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
            if (++reads > kRecords)
                break;
            if (session.Database.RecordCursor.Seek(id))
                ReadResumes(session);
        }
        CompareDelimitedLines(session);
    }
    return 0;
}

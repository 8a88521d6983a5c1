// Output throughput: 10,000 records of 10 fields written as text through
// "Default_dat.rpt" to a file, and 100,000 records exported as delimited
// lines. The records come from memory through the runner's record loader
// (a prepared record copied into the tables), so only the output side is
// timed; read_bench times the whole path, database included, as
// tallowmere-cli runs it.
//
// Usage: build/bench/bench_output [PROGRAM_FOLDER]   (default: ../bin next to it)

#include "session/Session.h"
#include "output/OutputFieldList.h"
#include "output/OutputRunner.h"
#include "platform/ConsoleUi.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr int kFields = 10;

void FillRecord(RecordTables& t, qint32 id)
{
    t.ClearRecordTables();
    t.PutArrayElement(1, 0, QString::number(id));
    t.PutArrayElement(1, 1, QStringLiteral("Person %1").arg(id));
    t.PutArrayElement(1, 3, QStringLiteral("3/%1/2004").arg(id % 28 + 1));
    t.PutArrayElement(1, 4, QStringLiteral("/data/responses/batch%1.txt").arg(id % 50));
    for (int f = 0; f < kFields; ++f) {
        t.CurrentRow[2] = static_cast<qint16>(f);
        t.PutArrayElement(2, 1, QStringLiteral("Field%1").arg(f));
        t.PutArrayElement(2, 2,
                          f == 3 ? QStringLiteral("A longer answer that goes on for a while, "
                                                  "so that it has to wrap over more than one "
                                                  "line of the eighty-column layout.")
                                 : QStringLiteral("value %1 of record %2").arg(f).arg(id));
    }
    t.CurrentRow[2] = 0;
}

// Records differ in their ID and values; a hundred distinct ones are
// prepared and copied in as a record reader would fill the tables.
QList<RecordTables> Prepared()
{
    QList<RecordTables> records;
    for (int id = 1; id <= 100; ++id) {
        RecordTables t;
        FillRecord(t, id);
        records.append(t);
    }
    return records;
}

using Loader = std::function<bool(qint32)>;

double Time(Session& session, ConsoleUi& ui, OutputType type, int records, const QString& path,
            const Loader& load)
{
    OutputRequest request;
    request.type = type;
    for (int id = 1; id <= records; ++id)
        request.formIds.append(id);
    ui.QueueFiles({path});
    QElapsedTimer timer;
    timer.start();
    const OutputResult result = RunOutput(session, request, load);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!result.completed || result.count != records)
        std::fprintf(stderr, "run failed after %d records\n", result.count);
    return records / seconds;
}

void Report(const char* what, Session& session, ConsoleUi& ui, const QString& folder,
            const Loader& load)
{
    const QString textPath = folder + QStringLiteral("/") + what + QStringLiteral(".txt");
    const double text = Time(session, ui, OutputType::TextFile, 10000, textPath, load);
    std::printf("%s: text file, Default_dat.rpt: 10000 records, %.0f records/s (goal 20000)\n",
                what, text);
    const QString delimitedPath = folder + QStringLiteral("/") + what + QStringLiteral(".csv");
    const double delimited =
        Time(session, ui, OutputType::DelimitedFile, 100000, delimitedPath, load);
    std::printf("%s: delimited file: 100000 records, %.0f records/s (goal 200000)\n", what,
                delimited);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString program =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bin"));
    QTemporaryDir out;
    ConsoleUi ui(true);
    Session session(ui, ProgramFolders(QDir::cleanPath(program), out.path()),
                    Regional(QLocale(QLocale::English, QLocale::UnitedStates)));
    QStringList names;
    for (int f = 0; f < kFields; ++f)
        names.append(QStringLiteral("Field%1").arg(f));
    FillOutputFieldList(
        session.Output,
        {{QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")},
         {QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")},
         {QStringLiteral("Forms.Form_Date"), QStringLiteral("1.3"), QStringLiteral("Record Date")}},
        names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    const QList<RecordTables> prepared = Prepared();
    Report("from memory", session, ui, out.path(), [&](qint32 id) {
        session.Tables = prepared[id % prepared.size()];
        return true;
    });

    return 0;
}

// The change log's cost against what it logs. An import writes one entry
// (its tally and the records it stored) with its last group; an edit reads
// the record before and after and writes one entry. The log is always on,
// so its cost is measured as the same work done on its own, against the
// import or edit that includes it.
// Run: build/bench/change_log_bench [records]
#include "session/Session.h"
#include "database/ChangeLog.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/EditChanges.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"
#include "platform/ScriptedUi.h"
#include "platform/WriteTransaction.h"
#include "responses/ResponseImport.h"

#include "GeneratedResponses.h"
#include "TimedImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

namespace {

QString Generate(const QString& path, int first, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int r = first; r < first + records; ++r)
        file.write("From: form@example.org\r\nSubject: Response\r\n\r\n" + bench::Body(r) +
                   "\r\n\r\n");
    return path;
}

// Seconds one import's entry costs: its records text and the append, in a
// transaction as the import's last group is.
double ImportEntrySeconds(DatabaseConnection& connection, const Clock& clock, int records)
{
    constexpr int kRuns = 20;
    std::vector<qint64> ids(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i)
        ids[static_cast<size_t>(i)] = i + 1;
    QElapsedTimer timer;
    timer.start();
    for (int run = 0; run < kRuns; ++run) {
        InWriteTransaction(connection, [&](SQLite::Database&) {
            AppendChangeLog(connection, clock, ChangeKind::Import,
                            QStringLiteral("from responses.txt: read %1, imported %1, known 0, "
                                           "no_response 0, failed 0, stored %1")
                                .arg(records),
                            ChangeLogRecords(ids));
        });
    }
    return timer.nsecsElapsed() / 1e9 / kRuns;
}

// Seconds the log's part of one edit costs (the two reads of the record,
// the comparison and the append), in a savepoint as the edit's write is.
// The edit's own commit carries the entry: here one transaction, rolled
// back, holds them all, so no commit is counted against the log.
double EditEntrySeconds(Session& session, const std::vector<qint64>& ids)
{
    DatabaseConnection& c = *session.Database.CurrentDatabase;
    c.BeginWrite();
    QElapsedTimer timer;
    timer.start();
    for (const qint64 id : ids) {
        Savepoint savepoint(c);
        const RecordSnapshot before = ReadRecordSnapshot(c, id);
        RecordSnapshot after = ReadRecordSnapshot(c, id);
        after.values.back().value += QStringLiteral(" (edited)");
        AppendChangeLog(c, session.Now, ChangeKind::Edit, DescribeEdit(before, after),
                        QString::number(id));
        savepoint.Release();
    }
    const double seconds = timer.nsecsElapsed() / 1e9 / static_cast<double>(ids.size());
    c.Db().exec("ROLLBACK");
    return seconds;
}

// Seconds one edit of a field takes as the viewer saves it.
double EditSeconds(Session& session, const std::vector<qint64>& ids)
{
    DatabaseState& d = session.Database;
    double seconds = 0;
    for (const qint64 id : ids) {
        d.RecordCursor.Seek(id);
        ReadResumes(session);
        d.RecordState = DatabaseState::EditRecord;
        RecordTables& t = session.Tables;
        t.CurrentRow[RecordTables::kFieldTable] = static_cast<qint16>(t.FieldCount() - 1);
        t.PutArrayElement(RecordTables::kFieldTable, RecordTables::FieldValueColumn,
                          QStringLiteral("Edited comment of record %1").arg(id));
        QElapsedTimer timer;
        timer.start();
        if (!WriteResumes(session, 1))
            std::printf("  edit of %lld failed\n", static_cast<long long>(id));
        seconds += timer.nsecsElapsed() / 1e9;
        d.RecordState = 0;
    }
    return seconds / static_cast<double>(ids.size());
}

void Report(const char* what, double whole, double log)
{
    std::printf("%-34s %9.3f ms, of it the change log %7.3f ms = %5.2f %%\n", what, whole * 1e3,
                log * 1e3, 100 * log / whole);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    constexpr int kSmall = 50;
    constexpr int kSmallImports = 40;
    constexpr int kEdits = 500;
    QTemporaryDir dir;
    const QString folder = dir.path();

    std::printf("Import of %d responses of %d fields:\n", records, bench::kFields);
    const QString big = Generate(folder + "/responses.txt", 0, records);
    const double import = bench::ImportSeconds(folder, folder + "/import.fdb", big);

    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder, folder));
    session.Database.RememberLastUsedDB = false;

    // Small imports, one after another into one database: the entry's
    // share is largest where the import is short.
    const QString small = folder + "/small.fdb";
    CreateNewDatabase(ui, small);
    OpenResumeDatabase(session, small);
    double smallImports = 0;
    for (int i = 0; i < kSmallImports; ++i) {
        const QString file =
            Generate(folder + QStringLiteral("/small%1.txt").arg(i), records + i * kSmall, kSmall);
        ui.QueueFiles({file});
        QElapsedTimer timer;
        timer.start();
        ImportResume(session);
        smallImports += timer.nsecsElapsed() / 1e9;
    }
    smallImports /= kSmallImports;
    const double smallEntry =
        ImportEntrySeconds(*session.Database.CurrentDatabase, session.Now, kSmall);

    OpenResumeDatabase(session, folder + "/import.fdb");
    const double bigEntry =
        ImportEntrySeconds(*session.Database.CurrentDatabase, session.Now, records);

    std::mt19937 random(42);
    std::uniform_int_distribution<qint64> pick(1, records);
    std::vector<qint64> ids(kEdits);
    for (qint64& id : ids)
        id = pick(random);
    const double editLog = EditEntrySeconds(session, ids);
    const double edit = EditSeconds(session, ids);
    // The same on the small database, where an edit costs least.
    OpenResumeDatabase(session, small);
    std::uniform_int_distribution<qint64> pickSmall(1, kSmall * kSmallImports);
    for (qint64& id : ids)
        id = pickSmall(random);
    const double smallEditLog = EditEntrySeconds(session, ids);
    const double smallEdit = EditSeconds(session, ids);

    std::printf("\n");
    Report(QStringLiteral("import of %1 responses:").arg(records).toUtf8().constData(), import,
           bigEntry);
    Report(QStringLiteral("import of %1 responses (mean):").arg(kSmall).toUtf8().constData(),
           smallImports, smallEntry);
    Report(QStringLiteral("edit, %1 records (mean):").arg(records).toUtf8().constData(), edit,
           editLog);
    Report(
        QStringLiteral("edit, %1 records (mean):").arg(kSmall * kSmallImports).toUtf8().constData(),
        smallEdit, smallEditLog);
    return 0;
}

// Deleting 100,000 of 1,000,000 records and copying 100,000 records into a
// new file, through the same procedures the record commands run.
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/RecordDeletion.h"
#include "database/RecordTransfer.h"
#include "session/RecordChooser.h"
#include "session/RecordSelection.h"
#include "platform/ScriptedUi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kRecords = 1000000;
constexpr int kChosen = 100000;
constexpr int kFields = 5;

struct RangeChooser : RecordChooser {
    Session& session;
    RecordSelection range;
    RangeChooser(Session& s, RecordSelection r) : session(s), range(r) {}
    void ShowSelectDialog(const QString&) override { session.Selection = range; }
    std::vector<qint64> SelectedSummaryRows() const override { return {}; }
};

void Fill(const QString& path)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode=WAL");
    db.exec("PRAGMA synchronous=NORMAL");
    db.exec("BEGIN");
    SQLite::Statement form(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                               "VALUES (?, 'note', '2024-03-05', 'responses.txt')");
    SQLite::Statement data(db,
                           "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    const std::string names[kFields] = {"Name", "Email", "City", "Phone", "Comments"};
    for (int i = 1; i <= kRecords; ++i) {
        form.reset();
        form.bind(1, "Person " + std::to_string(i));
        form.exec();
        const auto id = db.getLastInsertRowid();
        for (const std::string& name : names) {
            data.reset();
            data.bind(1, name);
            data.bind(2, name + " value " + std::to_string(i));
            data.bind(3, static_cast<int64_t>(id));
            data.exec();
        }
    }
    db.exec("UPDATE Info SET Value = '\r\nName\r\nEmail\r\nCity\r\nPhone\r\nComments\r\n' "
            "WHERE Key = 'FieldNamesList'");
    db.exec("COMMIT");
}

} // namespace

int main()
{
    QTemporaryDir dir;
    qputenv("TALLOWMERE_HOME", dir.path().toUtf8());
    ScriptedUi ui;
    Session session(ui, ProgramFolders::Resolve(dir.path()));
    const QString path = dir.filePath(QStringLiteral("bench.fdb"));
    CreateNewDatabase(ui, path);
    QElapsedTimer timer;
    timer.start();
    Fill(path);
    std::printf("built %d records (%d fields each) in %.1f s\n", kRecords, kFields,
                timer.elapsed() / 1000.0);
    if (!OpenResumeDatabase(session, path))
        return 1;

    // Processor time beside the elapsed time: on a shared machine the
    // elapsed time says more about the other programs than about this one.
    const auto cpuSeconds = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
    ui.QueueAnswer(MessageAnswer::Yes);
    RangeChooser deleteRange(session, {1, kChosen});
    double cpu = cpuSeconds();
    timer.restart();
    const DeleteOutcome deleted = DeleteResumes(session, deleteRange);
    double seconds = timer.elapsed() / 1000.0;
    cpu = cpuSeconds() - cpu;
    std::printf("delete %d of %d: %.2f s, %.0f records/s (%.2f s processor time, %.0f records "
                "per processor second), %lld progress redraws (%s)\n",
                deleted.deleted, kRecords, seconds, deleted.deleted / seconds, cpu,
                deleted.deleted / cpu, static_cast<long long>(ui.progressUpdates.size()),
                qPrintable(ui.StatusText()));

    const QString target = dir.filePath(QStringLiteral("target.fdb"));
    ui.progressUpdates.clear();
    ui.QueueFiles({target});
    ui.QueueAnswer(MessageAnswer::Yes);
    RangeChooser transferRange(session, {kChosen + 1, 2 * kChosen});
    cpu = cpuSeconds();
    timer.restart();
    const TransferOutcome saved = WriteRecordsToDB(session, transferRange);
    seconds = timer.elapsed() / 1000.0;
    cpu = cpuSeconds() - cpu;
    std::printf("transfer %d into a new file: %.2f s, %.0f records/s (%.2f s processor time, "
                "%.0f records per processor second), %lld progress redraws\n",
                saved.saved, seconds, saved.saved / seconds, cpu, saved.saved / cpu,
                static_cast<long long>(ui.progressUpdates.size()));
    return deleted.deleted == kChosen && saved.saved == kChosen ? 0 : 1;
}

// Import of 100,000 form responses of 10 fields into a new database,
// against the floor: the same rows inserted by prepared statements in one
// transaction. Then ReadResumes of single records of that database.
// Run: build/bench/import_bench [records]
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/RecordReader.h"
#include "platform/ScriptedUi.h"
#include "responses/ResponseImport.h"

#include "GeneratedResponses.h"
#include "PeakMemory.h"
#include "TimedImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>
#include <cstdio>
#include <random>

namespace {

using bench::Body;
using bench::ImportSeconds;
using bench::kFields;
using bench::kNames;
using bench::PeakKb;
using bench::Value;

// One file of responses, each body split over lines of 70 characters the
// way mail programs wrap them, with a mail header before every response.
QString Generate(const QString& path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int r = 0; r < records; ++r) {
        const QByteArray body = Body(r);
        file.write("From: form@example.org\r\nSubject: Response\r\n\r\n");
        for (qsizetype at = 0; at < body.size(); at += 70)
            file.write(body.mid(at, 70) + "\r\n");
        file.write("\r\n");
    }
    return path;
}

double FloorSeconds(const QString& db, int records)
{
    ScriptedUi ui;
    CreateNewDatabase(ui, db);
    QElapsedTimer timer;
    timer.start();
    SQLite::Database d(db.toStdString(), SQLite::OPEN_READWRITE);
    d.exec("PRAGMA foreign_keys=ON");
    SQLite::Transaction transaction(d);
    SQLite::Statement form(d, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                              "VALUES (?, '', '2024-03-05', '/tmp/responses.txt')");
    SQLite::Statement data(d,
                           "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    for (int r = 0; r < records; ++r) {
        const QByteArray name = "Person " + QByteArray::number(r);
        form.bind(1, name.constData());
        form.exec();
        form.reset();
        const int64_t id = d.getLastInsertRowid();
        for (int f = 0; f < kFields; ++f) {
            const QByteArray value = QByteArray::fromPercentEncoding(Value(r, f).replace('+', ' '));
            data.bind(1, kNames[f]);
            data.bind(2, value.constData());
            data.bind(3, id);
            data.exec();
            data.reset();
        }
    }
    transaction.commit();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString folder = dir.path();

    std::printf("Generating %d responses of %d fields...\n", records, kFields);
    const QString small = Generate(folder + "/small.txt", records / 10);
    const QString big = Generate(folder + "/responses.txt", records);

    std::printf("Import of %d responses (memory check):\n", records / 10);
    ImportSeconds(folder, folder + "/small.fdb", small);
    const long peakSmall = PeakKb();

    std::printf("Import of %d responses:\n", records);
    const double import = ImportSeconds(folder, folder + "/import.fdb", big);
    const long peakBig = PeakKb();

    const double floor = FloorSeconds(folder + "/floor.fdb", records);

    std::printf("import:  %.2f s, %.0f records/s\n", import, records / import);
    std::printf("floor:   %.2f s, %.0f records/s (prepared inserts, one transaction)\n", floor,
                records / floor);
    std::printf("ratio:   %.2f x the floor\n", import / floor);
    std::printf("peak RSS: %ld KB after importing %d records, %ld KB after %d\n", peakSmall,
                records / 10, peakBig, records);

    // Reading back single records of the large database.
    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder, folder));
    session.Database.RememberLastUsedDB = false;
    OpenResumeDatabase(session, folder + "/import.fdb");
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pick(1, records);
    constexpr int kReads = 10000;
    QElapsedTimer timer;
    timer.start();
    int fields = 0;
    for (int i = 0; i < kReads; ++i) {
        session.Database.RecordCursor.Seek(pick(random));
        ReadResumes(session);
        fields += session.Tables.FieldCount();
    }
    const double perRead = timer.nsecsElapsed() / 1e3 / kReads;
    std::printf("ReadResumes: %.1f us per record (mean of %d random reads, %d fields each)\n",
                perRead, kReads, fields / kReads);
    return 0;
}

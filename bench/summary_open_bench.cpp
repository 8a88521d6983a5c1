// Opening a database of 1,000,000 records in the record summary: the time
// until the summary's model gives its first rows, the time to scroll to the
// end (the last page read), and the resident memory.
// Run: build/bench/summary_open_bench [records]   (the database is made once
// in build/bench/ and kept for later runs)
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "search/SummaryModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <cstdio>

namespace {

// VmRSS and VmHWM of this process in MB.
std::pair<double, double> Memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double rss = 0, hwm = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts[0] == "VmRSS:")
                rss = parts[1].toDouble() / 1024.0;
            if (parts.size() >= 2 && parts[0] == "VmHWM:")
                hwm = parts[1].toDouble() / 1024.0;
        }
    }
    return {rss, hwm};
}

bool MakeDatabase(const QString& path, int records)
{
    ScriptedUi ui;
    if (!CreateNewDatabase(ui, path))
        return false;
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    SQLite::Transaction transaction(db);
    SQLite::Statement form(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                               "VALUES (?, ?, ?, ?)");
    SQLite::Statement field(db,
                            "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    for (int i = 1; i <= records; ++i) {
        form.bind(1, "Person " + std::to_string(i));
        form.bind(2, i % 7 == 0 ? "call back" : "");
        form.bind(3, "2024-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10));
        form.bind(4, "/mail/responses-" + std::to_string(i / 1000) + ".txt");
        form.exec();
        form.reset();
        const long long id = db.getLastInsertRowid();
        if (i <= 1000) { // a few records with fields, the first one read by opening
            for (const char* name : {"name", "email", "city"}) {
                field.bind(1, name);
                field.bind(2, std::string(name) + " " + std::to_string(i));
                field.bind(3, static_cast<int64_t>(id));
                field.exec();
                field.reset();
            }
        }
    }
    transaction.commit();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const QString path =
        QCoreApplication::applicationDirPath() + QStringLiteral("/summary_%1.fdb").arg(records);
    if (!QFileInfo::exists(path)) {
        std::printf("making %d records in %s ...\n", records, qPrintable(path));
        QElapsedTimer make;
        make.start();
        if (!MakeDatabase(path + QStringLiteral(".new"), records) ||
            !QFile::rename(path + QStringLiteral(".new"), path)) {
            std::fprintf(stderr, "could not make the database\n");
            return 1;
        }
        std::printf("made in %.1f s\n", make.elapsed() / 1000.0);
    }
    const auto [rssBefore, hwmBefore] = Memory();

    QTemporaryDir folder;
    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder.path(), folder.path()));
    SummaryModel model(session.RegionalSettings);

    QElapsedTimer timer;
    timer.start();
    if (!OpenResumeDatabase(session, path)) {
        std::fprintf(stderr, "open failed: %s\n",
                     qPrintable(ui.MessageTexts().join(QLatin1Char('|'))));
        return 1;
    }
    model.SetSource(&session.Database.CurrentDatabase->Db(),
                    &session.Database.SummaryRecords.Ids());
    // What a summary window shows first: its top rows.
    QString first;
    for (int row = 0; row < 40; ++row)
        for (int c = 0; c < SummaryModel::ColumnCount; ++c)
            first = model.data(model.index(row, c)).toString();
    const double openMs = timer.nsecsElapsed() / 1e6;

    timer.restart();
    const int last = model.rowCount() - 1;
    QString lastName;
    for (int row = last - 39; row <= last; ++row)
        for (int c = 0; c < SummaryModel::ColumnCount; ++c)
            lastName = model.data(model.index(row, c)).toString();
    const double endMs = timer.nsecsElapsed() / 1e6;
    lastName = model.data(model.index(last, SummaryModel::RecordName)).toString();

    const auto [rss, hwm] = Memory();
    std::printf("records %d  rows shown %d  last row \"%s\"\n", records, model.rowCount(),
                qPrintable(lastName));
    std::printf("open to first rows: %.1f ms\n", openMs);
    std::printf("scroll to the end:  %.1f ms\n", endMs);
    std::printf("memory: VmRSS %.1f MB (%.1f MB before opening), VmHWM %.1f MB\n", rss, rssBefore,
                hwm);
    (void)hwmBefore;
    return 0;
}

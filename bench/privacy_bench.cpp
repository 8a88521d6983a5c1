// Finding a person's records among 1,000,000 and a retention run deleting
// 100,000 of them, through the procedures the person and retention
// commands run.
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "privacy/PersonSearch.h"
#include "privacy/RetentionRun.h"
#include "session/Session.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kRecords = 1000000;
// The oldest 100,000 records come first, as records arrive in date order;
// a tenth of the others is dated between them and today, scattered through
// the file.
constexpr int kOldest = 100000;
constexpr int kFields = 5;

void Fill(const QString& path)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode=WAL");
    db.exec("PRAGMA synchronous=NORMAL");
    db.exec("BEGIN");
    SQLite::Statement form(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                               "VALUES (?, 'note', ?, 'responses.txt')");
    SQLite::Statement data(db,
                           "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    const std::string names[kFields] = {"Name", "Email", "City", "Phone", "Comments"};
    for (int i = 1; i <= kRecords; ++i) {
        form.reset();
        form.bind(1, "Person " + std::to_string(i));
        form.bind(2, i <= kOldest ? "2019-01-01" : i % 10 == 0 ? "2021-01-01" : "2024-03-05");
        form.exec();
        const auto id = db.getLastInsertRowid();
        for (const std::string& name : names) {
            data.reset();
            data.bind(1, name);
            // One person wrote a hundred times, under one address.
            data.bind(2, name == "Email"
                             ? (i % 10000 == 7 ? std::string("Ann.Lee@example.org")
                                               : "person" + std::to_string(i) + "@example.org")
                             : name + " value " + std::to_string(i));
            data.bind(3, static_cast<int64_t>(id));
            data.exec();
        }
    }
    db.exec("UPDATE Info SET Value = '\r\nName\r\nEmail\r\nCity\r\nPhone\r\nComments\r\n' "
            "WHERE Key = 'FieldNamesList'");
    db.exec("COMMIT");
}

double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    qputenv("TALLOWMERE_HOME", dir.path().toUtf8());
    ScriptedUi ui;
    Session session(ui, ProgramFolders::Resolve(dir.path()));
    session.Database.ListRecordsOnOpen = false;
    const QString path = dir.filePath(QStringLiteral("bench.fdb"));
    CreateNewDatabase(ui, path);
    QElapsedTimer timer;
    timer.start();
    Fill(path);
    std::printf("built %d records (%d fields each) in %.1f s\n", kRecords, kFields,
                timer.elapsed() / 1000.0);
    if (!OpenResumeDatabase(session, path))
        return 1;
    DatabaseConnection& connection = *session.Database.CurrentDatabase;

    bool ok = true;
    for (const PersonQuery& query : {PersonQuery{QStringLiteral("ann.lee@EXAMPLE.org"), true},
                                     PersonQuery{QStringLiteral("zoë"), false}}) {
        double cpu = CpuSeconds();
        timer.restart();
        const std::vector<PersonRecord> found = FindPersonRecords(connection, query);
        const double seconds = timer.elapsed() / 1000.0;
        cpu = CpuSeconds() - cpu;
        std::printf("find %s%s in %d records: %zu found, %.2f s (%.2f s processor time; goal "
                    "under 2 s)\n",
                    query.address ? "the address " : "the text ", qPrintable(query.text), kRecords,
                    found.size(), seconds, cpu);
        ok = ok && found.size() == (query.address ? 100u : 0u);
    }

    // First the oldest records, then those scattered through the file.
    int expected = kOldest;
    for (const int days : {1000, 365}) {
        const RetentionRule rule{days, RetentionRule::Action::Delete, {}};
        double cpu = CpuSeconds();
        timer.restart();
        const RetentionPlan plan = PlanRetention(connection, rule, QDate(2022, 6, 1));
        const int deleted = ApplyRetention(connection, session.Now, rule, plan);
        const double seconds = timer.elapsed() / 1000.0;
        cpu = CpuSeconds() - cpu;
        std::printf("retention run deleting %d %s records: %.2f s, %.0f records/s (%.2f s "
                    "processor time, %.0f records per processor second; goal 50,000 "
                    "records/s)\n",
                    deleted, expected == kOldest ? "oldest" : "scattered", seconds,
                    deleted / seconds, cpu, deleted / cpu);
        ok = ok && deleted == expected;
        expected = (kRecords - kOldest) / 10;
    }
    return ok ? 0 : 1;
}

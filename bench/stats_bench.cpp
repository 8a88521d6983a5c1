// Statistics of N records (default 1,000,000) with ten fields each: one
// field (goal under 1 s), all ten (goal under 3 s), and one field over a
// search result of N / 10 records (goal under 200 ms). Memory stays
// bounded by the distinct values: the peak resident size is printed.
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "session/Session.h"
#include "stats/SummaryStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace {

void Fill(const QString& path, long long records)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode=WAL");
    db.exec("BEGIN");
    const std::string n = std::to_string(records);
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + n +
            ") INSERT INTO Forms (FormID, Form_Name, Form_Date, File_Name) SELECT i, 'Person ' "
            "|| i, date('2024-01-01', '+' || (i % 700) || ' days'), 'responses.txt' FROM n");
    // A score of 1-10, a choice of 12 countries, and eight text fields with
    // a hundred values each.
    db.exec("INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT k.name, CASE k.name "
            "WHEN 'Score' THEN 1 + FormID % 10 WHEN 'Country' THEN 'Country ' || (FormID % 12) "
            "ELSE k.name || ' ' || (FormID % 100) END, FormID FROM Forms, (SELECT 'Score' AS "
            "name UNION ALL SELECT 'Country' UNION ALL SELECT 'F3' UNION ALL SELECT 'F4' UNION "
            "ALL SELECT 'F5' UNION ALL SELECT 'F6' UNION ALL SELECT 'F7' UNION ALL SELECT 'F8' "
            "UNION ALL SELECT 'F9' UNION ALL SELECT 'F10') AS k ORDER BY FormID");
    db.exec("UPDATE Info SET Value = '\r\nScore\r\nCountry\r\nF3\r\nF4\r\nF5\r\nF6\r\nF7\r\nF8\r\n"
            "F9\r\nF10\r\n' WHERE Key = 'FieldNamesList'");
    db.exec("COMMIT");
}

double Run(Session& session, const QStringList& fields, const char* what)
{
    QElapsedTimer timer;
    timer.start();
    const SummaryStatisticsResult result = SummaryStatistics(session, fields);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%s: %lld records, %zu field(s) in %.3f s%s\n", what, result.records,
                result.fields.size(), seconds, result.ok ? "" : " (failed)");
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const long long records = argc > 1 ? std::stoll(argv[1]) : 1000000;
    QTemporaryDir dir;
    qputenv("TALLOWMERE_HOME", dir.path().toUtf8());
    ScriptedUi ui;
    Session session(ui, ProgramFolders::Resolve(dir.path()));
    session.Database.RememberLastUsedDB = false;
    const QString path = dir.filePath(QStringLiteral("bench.fdb"));
    CreateNewDatabase(ui, path);
    Fill(path, records);
    if (!OpenResumeDatabase(session, path))
        return 1;
    Run(session, {QStringLiteral("Score")}, "one field");
    Run(session, {}, "every field");
    std::vector<qint64> found;
    for (long long id = 1; id <= records; id += 10)
        found.push_back(id);
    session.Database.SummaryRecords.Assign(std::move(found));
    session.Database.SummaryFiltered = true;
    Run(session, {QStringLiteral("Score")}, "one field of a search result of every tenth record");
    // A search usually finds records that came in together (a month's,
    // a form's): their entries lie side by side.
    std::vector<qint64> together;
    for (long long id = records / 2; id < records / 2 + records / 10; ++id)
        together.push_back(id);
    session.Database.SummaryRecords.Assign(std::move(together));
    Run(session, {QStringLiteral("Score")}, "one field of a search result of records side by side");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size %.0f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}

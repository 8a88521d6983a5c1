// Finding every group of possible duplicates by one key field among N
// records (default 1,000,000; goal under 3 s), one record in ten repeating
// an earlier one's e-mail address in another spelling.
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateKeys.h"
#include "platform/ScriptedUi.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

void Fill(const QString& path, long long records)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode=WAL");
    db.exec("PRAGMA synchronous=NORMAL");
    db.exec("BEGIN");
    const std::string n = std::to_string(records);
    const std::string distinct = std::to_string(records - records / 10);
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + n +
            ") INSERT INTO Forms (FormID, Form_Name, Form_Date, File_Name) SELECT i, 'Person ' "
            "|| i, date('2024-01-01', '+' || (i % 365) || ' days'), 'responses.txt' FROM n");
    // Every tenth record past the first repeats an earlier address in capitals.
    db.exec("INSERT INTO Data (Field_Name, Field_Value, FormID) SELECT k.name, CASE k.name "
            "WHEN 'Email' THEN CASE WHEN FormID > " +
            distinct + " THEN upper('person' || (FormID - " + distinct +
            ") || '@example.com') ELSE 'person' || FormID || '@example.com' END WHEN 'Phone' "
            "THEN '+44 20 ' || (10000000 + FormID) ELSE k.name || ' value ' || FormID END, "
            "FormID FROM Forms, (SELECT 'Name' AS name UNION ALL SELECT 'Email' UNION ALL SELECT "
            "'City' UNION ALL SELECT 'Phone') AS k ORDER BY FormID");
    db.exec("UPDATE Info SET Value = '\r\nName\r\nEmail\r\nCity\r\nPhone\r\n' "
            "WHERE Key = 'FieldNamesList'");
    db.exec("COMMIT");
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
    session.Database.ListRecordsOnOpen = false;
    const QString path = dir.filePath(QStringLiteral("bench.fdb"));
    CreateNewDatabase(ui, path);
    QElapsedTimer timer;
    timer.start();
    Fill(path, records);
    std::printf("built %lld records (4 fields each) in %.1f s\n", records,
                timer.elapsed() / 1000.0);
    if (!OpenResumeDatabase(session, path))
        return 1;

    for (const DuplicateKeys& keys :
         {DuplicateKeys{{QStringLiteral("Email")}, false, std::nullopt},
          DuplicateKeys{{QStringLiteral("Email")}, false, 30},
          DuplicateKeys{{QStringLiteral("Phone")}, false, std::nullopt},
          // No record has it: the streaming read alone.
          DuplicateKeys{{QStringLiteral("Missing")}, false, std::nullopt}}) {
        const double cpuBefore = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
        timer.restart();
        const DuplicateSearch search = FindDuplicateGroups(session, keys);
        const double seconds = timer.elapsed() / 1000.0;
        const double cpu = static_cast<double>(std::clock()) / CLOCKS_PER_SEC - cpuBefore;
        if (!search.ok) {
            std::printf("the search failed: %s\n", qPrintable(ui.MessageTexts().join(" | ")));
            return 1;
        }
        std::printf("key %s%s: %zu groups among %lld records in %.2f s (%.2f s processor time)\n",
                    qPrintable(keys.fields.join(',')), keys.withinDays ? " within 30 days" : "",
                    search.groups.size(), records, seconds, cpu);
    }
    return 0;
}

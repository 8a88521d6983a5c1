// Finding every group of possible duplicates by one key field among N
// records (default 1,000,000; goal under 3 s), one record in ten repeating
// an earlier one's e-mail address in another spelling. Then an import of
// N / 10 responses into a new database with and without a saved key: what
// marking the possible duplicates costs (goal under 10% of the import).
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateKeys.h"
#include "duplicates/DuplicateMarks.h"
#include "platform/ScriptedUi.h"
#include "responses/ResponseImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <cstdio>
#include <algorithm>
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

void WriteResponses(const QString& path, long long responses)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const long long distinct = responses - responses / 10;
    for (long long r = 1; r <= responses; ++r) {
        const long long person = r > distinct ? r - distinct : r;
        file.write("name=Person+" + QByteArray::number(r) +
                   "&email=" + (r > distinct ? "PERSON" : "person") + QByteArray::number(person) +
                   "%40example.com&city=City+" + QByteArray::number(r % 100) + "&phone=%2B44+20+" +
                   QByteArray::number(10000000 + r) + "\r\n\r\n");
    }
}

// Seconds an import of file into a new database took, with the key saved
// first when given.
double ImportSeconds(const QString& folder, const QString& db, const QString& file,
                     const DuplicateKeys* keys)
{
    ScriptedUi ui;
    Session session(ui, ProgramFolders(folder, folder));
    session.Database.RememberLastUsedDB = false;
    CreateNewDatabase(ui, db);
    OpenResumeDatabase(session, db);
    if (keys)
        SaveDuplicateKeys(*session.Database.CurrentDatabase, *keys);
    QElapsedTimer timer;
    timer.start();
    const ImportOutcome outcome = ImportResponseFiles(session, {file});
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("  %s in %.2f s\n", ui.StatusText().toUtf8().constData(), seconds);
    if (outcome.failed)
        std::printf("  import reported errors: %s\n",
                    ui.MessageTexts().join(" | ").toUtf8().constData());
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

    const long long responses = std::max(records / 10, 10LL);
    const QString file = dir.filePath(QStringLiteral("responses.txt"));
    WriteResponses(file, responses);
    std::printf("import of %lld responses:\n", responses);
    const double plain =
        ImportSeconds(dir.path(), dir.filePath(QStringLiteral("plain.fdb")), file, nullptr);
    const DuplicateKeys email{{QStringLiteral("email")}, false, std::nullopt};
    const double marked =
        ImportSeconds(dir.path(), dir.filePath(QStringLiteral("keyed.fdb")), file, &email);
    std::printf("marking possible duplicates adds %.0f%% to the import\n",
                (marked / plain - 1) * 100);
    return 0;
}

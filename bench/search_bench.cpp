// Times the searches on a large generated database against the sqlite3
// shell running the same searches with its built-in LIKE on the same file.
//
//   build/bench/search_bench [RECORDS] [--keep FOLDER]
//
// RECORDS defaults to 1000000 (10 fields each). The database is generated
// directly with prepared inserts in one transaction.
#include "platform/ScriptedUi.h"
#include "search/QueryBuilder.h"
#include "search/QuickFind.h"
#include "search/SearchRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <cstdio>
#include <random>

namespace {

constexpr int kFieldsPerRecord = 10;

std::string RandomWord(std::mt19937& rng, int length)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    std::uniform_int_distribution<int> pick(0, int(sizeof(letters)) - 2);
    std::string word;
    for (int i = 0; i < length; ++i)
        word.push_back(letters[pick(rng)]);
    return word;
}

void Generate(const QString& path, int records)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("PRAGMA journal_mode = OFF");
    db.exec("PRAGMA synchronous = OFF");
    db.exec("CREATE TABLE \"Forms\" (\"FormID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Form_Name\" "
            "MEMO_TEXT, "
            "\"Form_Notes\" MEMO_TEXT, \"Form_Date\" DATE_TEXT, \"File_Name\" TEXT(255))");
    db.exec("CREATE TABLE \"Data\" (\"DataID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Field_Name\" "
            "TEXT(255), "
            "\"Field_Value\" MEMO_TEXT, \"FormID\" INTEGER, CONSTRAINT \"FormToData\" FOREIGN KEY "
            "(\"FormID\") REFERENCES \"Forms\" (\"FormID\") ON DELETE CASCADE)");
    db.exec(
        "CREATE TABLE \"Info\" (\"KeyID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Key\" MEMO_TEXT, "
        "\"Value\" MEMO_TEXT)");
    std::mt19937 rng(42);
    SQLite::Transaction transaction(db);
    SQLite::Statement form(
        db, "INSERT INTO Forms (FormID, Form_Name, Form_Notes, Form_Date, File_Name) "
            "VALUES (?, ?, '', '2024-01-01', 'bench.txt')");
    SQLite::Statement data(db,
                           "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    for (int r = 1; r <= records; ++r) {
        form.bind(1, r);
        form.bind(2, RandomWord(rng, 12));
        form.exec();
        form.reset();
        for (int f = 0; f < kFieldsPerRecord; ++f) {
            data.bind(1, "Field" + std::to_string(f));
            data.bind(2, RandomWord(rng, 16));
            data.bind(3, r);
            data.exec();
            data.reset();
        }
    }
    transaction.commit();
    db.exec("CREATE INDEX \"FormID\" ON \"Data\" (\"FormID\")");
}

struct Timed {
    double seconds = 0;
    qint64 rows = 0;
};

Timed RunOurs(const QString& database, const QString& result, const SearchCondition& condition)
{
    ScriptedUi ui;
    QElapsedTimer timer;
    timer.start();
    const SystemClock clock;
    const SearchRunResult run = RunSearch(database, result, condition, ui, clock);
    Timed t{timer.nsecsElapsed() / 1e9, run.count};
    if (!run.ok)
        std::fprintf(stderr, "search failed: %s\n", qPrintable(run.error));
    return t;
}

// The same copy into a result file, by the sqlite3 shell with its LIKE.
Timed RunShell(const QString& database, const QString& result, const QString& where)
{
    QFile::remove(result);
    const QString script =
        QStringLiteral("ATTACH '%1' AS result;\n"
                       "CREATE TABLE result.Forms AS SELECT * FROM main.Forms WHERE 0;\n"
                       "INSERT INTO result.Forms SELECT * FROM main.Forms AS Forms WHERE %2 "
                       "ORDER BY Forms.FormID;\nSELECT changes();\n")
            .arg(result, where);
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("/usr/bin/sqlite3"), {database});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    Timed t{timer.nsecsElapsed() / 1e9, shell.readAllStandardOutput().trimmed().toLongLong()};
    const QByteArray err = shell.readAllStandardError();
    if (!err.isEmpty())
        std::fprintf(stderr, "sqlite3: %s\n", err.constData());
    return t;
}

void Report(const char* name, const Timed& ours, const Timed& shell)
{
    std::printf("%-44s ours %7.3f s (%lld rows)  sqlite3 %7.3f s (%lld rows)  ratio %.2f\n", name,
                ours.seconds, static_cast<long long>(ours.rows), shell.seconds,
                static_cast<long long>(shell.rows), ours.seconds / shell.seconds);
}

std::optional<SearchValueKind> FormsColumns(const QString& column)
{
    if (column == QLatin1String("FormID"))
        return SearchValueKind::Number;
    if (column == QLatin1String("Form_Date"))
        return SearchValueKind::Date;
    return SearchValueKind::Text;
}

QueryRow Row(const QString& field, const QString& op, const QString& value,
             const QString& connector)
{
    QueryRow row;
    const bool record = field.startsWith(QLatin1String("Forms."));
    row[kFieldNameColumn] = record ? QStringLiteral("Record Name") : field;
    row[kOperatorColumn] = op;
    row[kValueColumn] = value;
    row[kConnectorColumn] = connector;
    row[kDatabaseFieldColumn] = record ? field : QStringLiteral("Field_Value");
    row[kDataTypeColumn] = record ? QStringLiteral("T") : QStringLiteral("M");
    row[kTableColumn] = record ? QStringLiteral("Forms") : QStringLiteral("Data");
    return row;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString keep;
    if (const qsizetype k = args.indexOf(QStringLiteral("--keep")); k >= 0 && k + 1 < args.size()) {
        keep = args[k + 1];
        args.remove(k, 2);
    }
    const int records = args.isEmpty() ? 1000000 : args.first().toInt();
    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(folder);
    const QString database = folder + QStringLiteral("/bench.fdb");
    const QString result = folder + QStringLiteral("/TempDB.tdb");

    if (!QFile::exists(database)) {
        QElapsedTimer timer;
        timer.start();
        Generate(database, records);
        std::printf("generated %d records x %d fields in %.1f s\n", records, kFieldsPerRecord,
                    timer.nsecsElapsed() / 1e9);
    }
    ScriptedUi ui;
    const Regional regional(QLocale::c());

    // Warm the file cache so neither side pays for the first read.
    RunShell(database, result,
             QStringLiteral("FormID IN (SELECT FormID FROM Data WHERE Field_Value = 'none')"));

    const QuickFindCriteria name = BuildQuickFindCriteria(
        {QStringLiteral("Record Name"), 1}, QStringLiteral("Forms.Form_Name"),
        QStringLiteral("*abc*"), FormsColumns, regional, result);
    Report("Quick Find record name *abc*", RunOurs(database, result, name.condition),
           RunShell(database, result, QStringLiteral("Forms.Form_Name LIKE '%abc%'")));

    const QuickFindCriteria field =
        BuildQuickFindCriteria({QStringLiteral("Field3"), -1}, QString(), QStringLiteral("*x*"),
                               FormsColumns, regional, result);
    Report("Quick Find field Field3 *x*", RunOurs(database, result, field.condition),
           RunShell(database, result,
                    QStringLiteral(
                        "Forms.FormID IN (SELECT FormID FROM Data WHERE Field_Name = 'Field3' "
                        "AND Field_Value LIKE '%x%')")));

    const QueryGrid grid{Row(QStringLiteral("Forms.Form_Name"), QStringLiteral("LIKE"),
                             QStringLiteral("*abc*"), QStringLiteral("OR")),
                         Row(QStringLiteral("Field3"), QStringLiteral("LIKE"),
                             QStringLiteral("*xy*"), QStringLiteral("AND")),
                         Row(QStringLiteral("Field5"), QStringLiteral(">="), QStringLiteral("M"),
                             QStringLiteral("END"))};
    const BuiltQuery query =
        BuildQuery(grid, kShownQueryColumns, ui, regional, FormsColumns, result);
    if (query.outcome != BuiltQuery::Outcome::Ready) {
        std::fprintf(stderr, "query rejected: %s\n",
                     qPrintable(ui.MessageTexts().join(QLatin1Char(' '))));
        return 1;
    }
    Report("Query Builder: name OR (Field3 AND Field5)", RunOurs(database, result, query.condition),
           RunShell(database, result,
                    QStringLiteral(
                        "(Forms.Form_Name LIKE '%abc%' OR (Forms.FormID IN (SELECT FormID FROM "
                        "Data WHERE Field_Name = 'Field3' AND Field_Value LIKE '%xy%') AND "
                        "Forms.FormID IN (SELECT FormID FROM Data WHERE Field_Name = 'Field5' "
                        "AND Field_Value >= 'M' COLLATE NOCASE)))")));
    return 0;
}

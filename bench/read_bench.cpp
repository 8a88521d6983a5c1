// Reading many records: each command of tallowmere-cli that reads many
// records, run as a whole process on a generated database, side by side
// with the sqlite3 shell running the equivalent plain query on the same
// file, with the ratio of the two; then the text report's throughput and
// each command's peak resident memory on a tenth of the records and on all
// of them.
//
//   build-release/bench/read_bench [--records N] [--keep DIR] [--repeat N]
//
// N defaults to 1000000 records of 10 fields. --keep keeps the databases
// in DIR and reuses them on the next run. Times are the best of --repeat
// runs (default 3). Needs tallowmere-cli in ../bin next to this program
// and sqlite3 on the PATH.
#include "database/DatabaseCreation.h"
#include "platform/ScriptedUi.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kFields = 10;
const char* const kNames[kFields] = {"Name",    "E-mail", "code",    "Phone",  "City",
                                     "Country", "Age",    "Product", "Rating", "Comments"};

// A short code of letters and digits; about one in eight holds an "x".
std::string Code(qint64 record)
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    quint64 n = (static_cast<quint64>(record) * 2654435761u) % 60466176u; // 36^5
    std::string code;
    for (int i = 0; i < 5; ++i) {
        code.push_back(digits[n % 36]);
        n /= 36;
    }
    return code;
}

std::string Value(qint64 r, int field)
{
    const std::string n = std::to_string(r);
    switch (field) {
    case 0: // one record in a hundred has "abc" in its name
        return "Person " + n + (r % 100 == 7 ? " Tabcott" : " Smith");
    case 1:
        return "person" + n + "@example.org";
    case 2:
        return Code(r);
    case 3:
        return "+44 20 7946 " + std::to_string(r % 10000);
    case 4:
        return r % 2 ? "London" : "Z\xc3\xbcrich";
    case 5:
        return "United Kingdom";
    case 6:
        return std::to_string(18 + r % 60);
    case 7:
        return "Widget " + std::to_string(r % 12);
    case 8:
        return std::to_string(r % 5 + 1);
    default:
        return r % 3 ? "Fine service, thanks." : "First line\r\nSecond line\r\nThird line";
    }
}

qint64 StoredRecords(const QString& path)
{
    if (!QFileInfo::exists(path))
        return -1;
    try {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        return db.execAndGet("SELECT count(*) FROM Forms").getInt64();
    } catch (const std::exception&) {
        return -1;
    }
}

// A database of the program's layout filled by prepared inserts in one
// transaction, with its field-names list.
bool MakeDatabase(const QString& path, qint64 records)
{
    if (StoredRecords(path) == records)
        return true;
    QFile::remove(path);
    std::printf("Generating %lld records of %d fields in %s...\n", records, kFields,
                qPrintable(path));
    std::fflush(stdout);
    ScriptedUi ui;
    if (!CreateNewDatabase(ui, path))
        return false;
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA foreign_keys=ON");
    db.exec("PRAGMA journal_mode=WAL");
    SQLite::Transaction transaction(db);
    SQLite::Statement form(db, "INSERT INTO Forms (Form_Name, Form_Notes, Form_Date, File_Name) "
                               "VALUES (?, '', ?, ?)");
    SQLite::Statement data(db,
                           "INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES (?, ?, ?)");
    for (qint64 r = 1; r <= records; ++r) {
        const QDate date = QDate(2020, 1, 1).addDays(r % 1500);
        form.bind(1, Value(r, 0));
        form.bind(2, date.toString(Qt::ISODate).toStdString());
        form.bind(3, "/home/forms/responses-" + std::to_string(r % 40) + ".txt");
        form.exec();
        form.reset();
        const int64_t id = db.getLastInsertRowid();
        for (int f = 0; f < kFields; ++f) {
            data.bind(1, kNames[f]);
            data.bind(2, Value(r, f));
            data.bind(3, id);
            data.exec();
            data.reset();
        }
    }
    std::string names = "\r\n";
    for (const char* name : kNames)
        names += std::string(name) + "\r\n";
    SQLite::Statement list(db, "UPDATE Info SET Value = ? WHERE Key = 'FieldNamesList'");
    list.bind(1, names);
    list.exec();
    transaction.commit();
    db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    return true;
}

struct Measured {
    double seconds = 0;
    long peakKb = 0;
    bool ok = false;
};

// Runs the program with its standard output in outputPath; wall time and
// the child's own peak resident memory.
Measured RunProcess(const QStringList& command, const QString& outputPath)
{
    std::vector<std::string> storage;
    for (const QString& part : command)
        storage.push_back(part.toStdString());
    std::vector<char*> argv;
    for (std::string& part : storage)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.toLocal8Bit().constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Measured m;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return m;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    m.seconds = timer.nsecsElapsed() / 1e9;
    m.peakKb = usage.ru_maxrss;
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

struct Case {
    const char* title;
    // The command's arguments after tallowmere-cli, with DB for the database
    // and OUT for an output file.
    QStringList cli;
    // The equivalent query for the sqlite3 shell; empty for none. LAST is
    // the last FormID of a tenth of the records.
    QString floorSql;
    // Records the command reads (for records per second); 0 for none.
    qint64 records = 0;
};

class Bench {
public:
    Bench(QString cli, QString folder, int repeat)
        : m_cli(std::move(cli)), m_folder(std::move(folder)), m_repeat(repeat)
    {}

    Measured Best(QStringList command, const QString& output, int repeat)
    {
        Measured best;
        for (int i = 0; i < repeat; ++i) {
            // A file left by the last run would be appended to.
            QFile::remove(m_folder + QStringLiteral("/out.txt"));
            QFile::remove(output);
            const Measured m = RunProcess(command, output);
            if (!m.ok)
                return m;
            if (!best.ok || m.seconds < best.seconds)
                best = m;
        }
        return best;
    }

    QStringList Cli(const Case& c, const QString& db, const QString& out) const
    {
        QStringList command{m_cli};
        for (QString part : c.cli) {
            if (part == QLatin1String("DB"))
                part = db;
            else if (part == QLatin1String("OUT"))
                part = out;
            command.append(part);
        }
        return command;
    }

    // The case on the large database against its floor, and its memory on
    // both databases.
    void Run(const Case& c, const QString& smallDb, const QString& bigDb, int repeat)
    {
        const QString out = m_folder + QStringLiteral("/out.txt");
        const QString stdoutFile = m_folder + QStringLiteral("/stdout.txt");
        const Measured small = Best(Cli(c, smallDb, out), stdoutFile, 1);
        const Measured big = Best(Cli(c, bigDb, out), stdoutFile, repeat);
        std::optional<Measured> floor;
        if (!c.floorSql.isEmpty())
            floor = Best({QStringLiteral("sqlite3"), QStringLiteral("-batch"), bigDb, c.floorSql},
                         m_folder + QStringLiteral("/floor.txt"), repeat);
        if (!big.ok || !small.ok || (floor && !floor->ok)) {
            std::printf("%-44s FAILED\n", c.title);
            return;
        }
        std::printf("%-44s %8.2f s", c.title, big.seconds);
        if (floor)
            std::printf(" %8.2f s %6.2fx", floor->seconds, big.seconds / floor->seconds);
        else
            std::printf(" %10s %7s", "", "");
        if (c.records > 0)
            std::printf(" %9.0f/s", c.records / big.seconds);
        else
            std::printf(" %11s", "");
        std::printf(" %8ld KB %8ld KB\n", small.peakKb, big.peakKb);
        std::fflush(stdout);
    }

private:
    QString m_cli;
    QString m_folder;
    int m_repeat;
};

// A program folder of its own (configuration and templates), so the search
// result file is written here and not next to the build's programs.
bool MakeProgramFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QStringList files =
        QDir(from).entryList({QStringLiteral("*.cfg"), QStringLiteral("*.rpt")}, QDir::Files);
    for (const QString& file : files) {
        QFile::remove(to + QLatin1Char('/') + file);
        if (!QFile::copy(from + QLatin1Char('/') + file, to + QLatin1Char('/') + file))
            return false;
    }
    return files.contains(QStringLiteral("default.cfg"));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qint64 records = 1000000;
    int repeat = 3;
    QString keep;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--records"))
            records = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--keep"))
            keep = args[++i];
        else if (args[i] == QLatin1String("--repeat"))
            repeat = args[++i].toInt();
    }
    const QString bin =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
    const QString cli = bin + QStringLiteral("/tallowmere-cli");
    if (!QFileInfo(cli).isExecutable() ||
        QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty()) {
        std::fprintf(stderr, "needs %s and sqlite3 on the PATH\n", qPrintable(cli));
        return 1;
    }
    QTemporaryDir temporary;
    const QString folder = keep.isEmpty() ? temporary.path() : QDir(keep).absolutePath();
    QDir().mkpath(folder);
    const QString program = folder + QStringLiteral("/program");
    if (!MakeProgramFolder(bin, program)) {
        std::fprintf(stderr, "no program folder in %s\n", qPrintable(bin));
        return 1;
    }
    qputenv("TALLOWMERE_HOME", program.toLocal8Bit());

    const qint64 tenth = records / 10;
    const QString bigDb = folder + QStringLiteral("/read-%1.fdb").arg(records);
    const QString smallDb = folder + QStringLiteral("/read-%1.fdb").arg(tenth);
    if (!MakeDatabase(smallDb, tenth) || !MakeDatabase(bigDb, records)) {
        std::fprintf(stderr, "could not make the databases\n");
        return 1;
    }

    const QString last = QString::number(tenth);
    const QString grouped = QStringLiteral(
        "SELECT Forms.FormID, Form_Name, Form_Date, group_concat(Field_Value, ',') FROM Forms "
        "JOIN Data ON Data.FormID = Forms.FormID %1 GROUP BY Forms.FormID ORDER BY Forms.FormID");
    const Case cases[] = {
        {"list DB",
         {"list", "DB"},
         "SELECT FormID, Form_Date, Form_Name, File_Name FROM Forms ORDER BY FormID",
         records},
        {"export --type delimited --ids 1-(a tenth)",
         {"export", "DB", "--type", "delimited", "--ids", "1-" + last, "-o", "OUT"},
         grouped.arg(QStringLiteral("WHERE Forms.FormID BETWEEN 1 AND ") + last),
         tenth},
        {"find --json DB \"Record Name\" \"*abc*\"",
         {"find", "--json", "DB", "Record Name", "*abc*"},
         "SELECT * FROM Forms WHERE Form_Name LIKE '%abc%' ORDER BY FormID",
         0},
        {"find --json DB code \"*x*\"",
         {"find", "--json", "DB", "code", "*x*"},
         "SELECT * FROM Forms WHERE FormID IN (SELECT FormID FROM Data WHERE Field_Name LIKE "
         "'code' AND Field_Value LIKE '%x%') ORDER BY FormID",
         0},
        {"export --type delimited (all records)",
         {"export", "DB", "--type", "delimited", "-o", "OUT"},
         grouped.arg(QString()),
         records},
    };
    std::printf("\n%lld records of %d fields; best of %d runs; memory on %lld and %lld records\n\n",
                records, kFields, repeat, tenth, records);
    std::printf("%-44s %10s %10s %7s %11s %11s %11s\n", "command", "tallowmere", "sqlite3", "ratio",
                "records", "peak RSS", "peak RSS");
    Bench bench(cli, folder, repeat);
    for (const Case& c : cases)
        bench.Run(c, smallDb, bigDb, repeat);
    // The text report through "Default_dat.rpt": one run of every record.
    bench.Run({"export --type text (all records)",
               {"export", "DB", "--type", "text", "-o", "OUT"},
               QString(),
               records},
              smallDb, bigDb, 1);
    return 0;
}

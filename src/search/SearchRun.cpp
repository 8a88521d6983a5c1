#include "search/SearchRun.h"
#include "platform/Logging.h"

#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "search/SearchFunctions.h"

#include <QFile>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

namespace {

// Virtual machine steps between two looks at the window system.
constexpr int kStepsBetweenYields = 20000;

int YieldDuringSearch(void* user)
{
    Ui& ui = *static_cast<Ui*>(user);
    ui.Yield();
    return ui.CancelRequested() ? 1 : 0; // non-zero interrupts the statement
}

void Bind(SQLite::Statement& statement, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        if (v.typeId() == QMetaType::Double)
            statement.bind(i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            statement.bind(i + 1, static_cast<int64_t>(v.toLongLong()));
        else
            statement.bind(i + 1, v.toString().toStdString());
    }
}

// The result file is made anew for every search and never outlives the
// session, so its writes need not wait for the disk: a journal in memory
// still lets a cancelled search roll back, without a journal file and the
// waits for the disk at every commit.
void SkipWaitingForTheDisk(SQLite::Database& db, const std::string& schema)
{
    db.exec("PRAGMA " + schema + ".journal_mode=MEMORY");
    db.exec("PRAGMA " + schema + ".synchronous=OFF");
}

// A fresh result file holding an empty Forms table declared exactly as the
// database declares it.
void CreateResultFile(SQLite::Database& source, const QString& resultPath)
{
    if (QFile::exists(resultPath)) {
        QFile file(resultPath);
        if (!file.remove())
            throw std::runtime_error(
                (resultPath + QStringLiteral(": ") + file.errorString()).toStdString());
    }
    SQLite::Statement schema(
        source, "SELECT sql FROM main.sqlite_master WHERE type = 'table' AND name = 'Forms'");
    if (!schema.executeStep())
        throw std::runtime_error("no such table: Forms");
    const std::string createForms = schema.getColumn(0).getString();
    SQLite::Database result(resultPath.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    SkipWaitingForTheDisk(result, "main");
    result.exec(createForms);
}

SQLite::Database OpenToSearch(const QString& path, BusyWait& wait)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    wait.InstallOn(db);
    try {
        db.execAndGet("SELECT count(*) FROM sqlite_master");
    } catch (const SQLite::Exception& e) {
        // A file in write-ahead-log mode in a folder that cannot be written.
        if ((e.getErrorCode() & 0xff) != SQLITE_CANTOPEN || !ReadableAsItStands(path))
            throw;
        db = SQLite::Database(ImmutableName(path), SQLite::OPEN_READWRITE | SQLite::OPEN_URI);
        wait.InstallOn(db);
    }
    return db;
}

} // namespace

SearchRunResult RunSearch(const QString& databasePath, const QString& resultPath,
                          const SearchCondition& condition, Ui& ui, const Clock& clock)
{
    SearchRunResult run;
    const qint64 started = clock.ElapsedMs();
    BusyWait wait{&clock, DatabaseConnection::kBusyTimeoutMs};
    try {
        // Read-write for the result file it attaches; the engine reads a
        // database it may not write for reading only.
        SQLite::Database db = OpenToSearch(databasePath, wait);
        const char* registerError = nullptr;
        if (!RegisterSearchFunctions(db.getHandle(), &registerError))
            throw std::runtime_error(registerError ? registerError : "cannot register functions");
        CreateResultFile(db, resultPath);

        SQLite::Statement attach(db, "ATTACH DATABASE ? AS result");
        attach.bind(1, resultPath.toStdString());
        attach.exec();
        SkipWaitingForTheDisk(db, "result");

        SQLite::Statement copy(db,
                               (QStringLiteral("INSERT INTO result.Forms SELECT * FROM main.Forms "
                                               "AS Forms WHERE ") +
                                condition.where + QStringLiteral(" ORDER BY Forms.FormID"))
                                   .toStdString());
        Bind(copy, condition.values);
        sqlite3_progress_handler(db.getHandle(), kStepsBetweenYields, YieldDuringSearch, &ui);
        try {
            run.count = copy.exec();
        } catch (const SQLite::Exception& e) {
            sqlite3_progress_handler(db.getHandle(), 0, nullptr, nullptr);
            if (e.getErrorCode() == SQLITE_INTERRUPT)
                run.cancelled = true;
            throw;
        }
        sqlite3_progress_handler(db.getHandle(), 0, nullptr, nullptr);
        db.exec("DETACH DATABASE result");
        run.ok = true;
    } catch (const std::exception& e) {
        run.ok = false;
        run.error = ErrorText(e);
    }
    // The condition as the engine runs it, its values left out.
    qCDebug(lcSearch, "%lld ms, %lld row(s)%s: WHERE %s",
            static_cast<long long>(clock.ElapsedMs() - started), static_cast<long long>(run.count),
            run.ok          ? ""
            : run.cancelled ? ", cancelled"
                            : ", failed",
            qPrintable(condition.where));
    return run;
}

std::vector<qint64> ResultFormIds(const QString& resultPath, QString* error)
{
    std::vector<qint64> ids;
    try {
        SQLite::Database db(resultPath.toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement query(db, "SELECT FormID FROM Forms ORDER BY FormID");
        while (query.executeStep())
            ids.push_back(query.getColumn(0).getInt64());
    } catch (const std::exception& e) {
        ids.clear();
        if (error)
            *error = ErrorText(e);
    }
    return ids;
}

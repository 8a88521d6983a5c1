#include "platform/DatabaseConnection.h"

#include "platform/ErrorText.h"
#include "platform/Logging.h"
#include "platform/SchemaLines.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <stdexcept>

namespace {

// A connection is only ever used by the thread that opened it, so SQLite
// need not lock around every call.
constexpr int kWriteFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
constexpr int kReadFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;

// SQLite takes an empty name for a private temporary database; a database
// file must be named.
std::string NamedFile(const QString& path)
{
    if (path.trimmed().isEmpty())
        throw std::runtime_error("No database file name was given.");
    return path.toStdString();
}

// Opens the engine's connection to name. A file that cannot be opened is
// reported with the system's reason, taken before anything else runs.
SQLite::Database OpenEngine(const std::string& name, int flags)
{
    try {
        return SQLite::Database(name, flags);
    } catch (const SQLite::Exception& e) {
        const int system = errno;
        throw std::runtime_error(EngineErrorText(e, system).toStdString());
    }
}

bool IsBusy(const std::exception& error)
{
    const auto* engine = dynamic_cast<const SQLite::Exception*>(&error);
    return engine && (engine->getErrorCode() & 0xff) == SQLITE_BUSY;
}

} // namespace

DatabaseConnection::DatabaseConnection(const QString& path, const Clock& clock,
                                       DatabaseAccess access, int busyTimeoutMs)
    : m_path(path), m_access(access),
      m_db(OpenEngine(NamedFile(path),
                      access == DatabaseAccess::ReadOnly ? kReadFlags : kWriteFlags)),
      m_busy{&clock}
{
    Configure(busyTimeoutMs);
    // Opening reads nothing; read the schema now so that a file that is not
    // a database is refused here.
    try {
        try {
            m_db.execAndGet("SELECT count(*) FROM sqlite_master");
        } catch (const SQLite::Exception& e) {
            if ((e.getErrorCode() & 0xff) != SQLITE_CANTOPEN || !IsReadOnly() ||
                !ReadableAsItStands(path))
                throw;
            m_db = OpenEngine(ImmutableName(path), kReadFlags | SQLITE_OPEN_URI);
            Configure(busyTimeoutMs);
            m_db.execAndGet("SELECT count(*) FROM sqlite_master");
        }
    } catch (const std::exception& e) {
        if (IsBusy(e))
            throw std::runtime_error(InUseText(e).toStdString());
        throw;
    }
    // The engine opens a file it may not write for reading only.
    if (!IsReadOnly() && sqlite3_db_readonly(m_db.getHandle(), "main") == 1)
        throw std::runtime_error("attempt to write a readonly database");
}

DatabaseConnection::DatabaseConnection(const QString& path, Created)
    : m_path(path), m_db(path.toStdString(), kWriteFlags)
{
    Configure(kBusyTimeoutMs);
}

namespace {

// Every statement the engine ran and how long it took (the engine measures
// whole milliseconds), as written: the values bound to it, a user's
// records, stay out of the log.
int TraceStatement(unsigned, void*, void* statement, void* nanoseconds)
{
    qCDebug(lcDatabase, "%lld ms: %s",
            static_cast<long long>(*static_cast<qint64*>(nanoseconds) / 1000000),
            sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
    return 0;
}

} // namespace

void DatabaseConnection::Configure(int busyTimeoutMs)
{
    if (lcDatabase().isDebugEnabled())
        sqlite3_trace_v2(m_db.getHandle(), SQLITE_TRACE_PROFILE, TraceStatement, nullptr);
    m_busy.timeoutMs = busyTimeoutMs;
    if (m_busy.clock)
        m_busy.InstallOn(m_db);
    m_db.exec("PRAGMA foreign_keys=ON");
    if (!IsReadOnly())
        m_db.exec("PRAGMA secure_delete=ON");
    RememberFile();
}

// Tries again every millisecond: another writer of this program holds the
// lock for at most a tenth of a second at a time, and a longer sleep would
// seldom find the moment between two of its transactions.
void BusyWait::InstallOn(SQLite::Database& db)
{
    sqlite3_busy_handler(
        db.getHandle(),
        [](void* self, int tries) {
            auto& wait = *static_cast<BusyWait*>(self);
            if (tries == 0)
                wait.since = wait.clock->ElapsedMs();
            if (wait.clock->ElapsedMs() - wait.since >= wait.timeoutMs)
                return 0;
            wait.clock->Sleep(1);
            return 1;
        },
        this);
}

void DatabaseConnection::BeginWrite()
{
    if (IsReadOnly())
        throw std::runtime_error(
            QStringLiteral("%1 is open for reading only").arg(m_path).toStdString());
    try {
        m_db.exec("BEGIN IMMEDIATE");
    } catch (const std::exception& e) {
        if (IsBusy(e))
            throw std::runtime_error(InUseText(e).toStdString());
        throw;
    }
}

void DatabaseConnection::CheckpointLog()
{
    if (IsReadOnly())
        return;
    // A kept statement left on a row holds a read open on this connection,
    // which the engine refuses to checkpoint under ("table is locked").
    for (auto& [sql, statement] : m_statements)
        statement->reset();
    // A reader of another program holding an old snapshot keeps the log
    // from being emptied; the busy handler waits for it as for a writer.
    m_db.execAndGet("PRAGMA wal_checkpoint(TRUNCATE)");
}

void DatabaseConnection::RememberFile()
{
    struct stat info {};
    if (::stat(QFile::encodeName(m_path).constData(), &info) == 0) {
        m_device = static_cast<quint64>(info.st_dev);
        m_inode = static_cast<quint64>(info.st_ino);
    }
}

bool DatabaseConnection::FileIsStillOurs(QString* why) const
{
    const QByteArray name = QFile::encodeName(m_path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        *why = QStringLiteral("the database file is no longer there: ") +
               QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (static_cast<quint64>(info.st_dev) != m_device ||
        static_cast<quint64>(info.st_ino) != m_inode) {
        *why = QStringLiteral("the database file was replaced by another file while it was open");
        return false;
    }
    // Every database file begins with this header; a file cut short lacks
    // it. It is read through the engine's own open file.
    static const char kHeader[] = "SQLite format 3";
    sqlite3_file* file = nullptr;
    char header[sizeof kHeader] = {};
    if (sqlite3_file_control(m_db.getHandle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
            SQLITE_OK ||
        !file || !file->pMethods ||
        file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK ||
        std::memcmp(header, kHeader, sizeof kHeader) != 0) {
        *why = QStringLiteral("the database file was cut short or overwritten while it was open");
        return false;
    }
    return true;
}

void DatabaseConnection::UseWriteAheadLog()
{
    if (IsReadOnly())
        return;
    // The switch needs the file to itself, and the engine does not wait for
    // a reader to let go (it holds a read lock of its own by then); the wait
    // is the busy handler's.
    const Clock* clock = m_busy.clock;
    const qint64 since = clock ? clock->ElapsedMs() : 0;
    for (;;) {
        try {
            m_db.exec("PRAGMA journal_mode=WAL");
            break;
        } catch (const std::exception& e) {
            if (!IsBusy(e))
                throw;
            if (!clock || clock->ElapsedMs() - since >= m_busy.timeoutMs)
                throw std::runtime_error(InUseText(e).toStdString());
            clock->Sleep(1);
        }
    }
    m_db.exec("PRAGMA synchronous=NORMAL");
    // Fewer, larger checkpoints: each one waits for the disk.
    m_db.exec("PRAGMA wal_autocheckpoint=8000");
}

std::unique_ptr<DatabaseConnection> DatabaseConnection::CreateFile(const QString& path)
{
    // Creating the file exclusively first means an existing file, even one
    // that appears between a check and the creation, is never touched.
    QFile file(path);
    if (QFileInfo::exists(path))
        throw std::runtime_error(
            QStringLiteral("Database '%1' already exists.").arg(path).toStdString());
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot create '%1': %2").arg(path, file.errorString()).toStdString());
    file.close();
    return std::unique_ptr<DatabaseConnection>(new DatabaseConnection(path, Created{}));
}

SQLite::Statement& DatabaseConnection::Cached(const std::string& sql)
{
    auto& slot = m_statements[sql];
    if (!slot) {
        slot = std::make_unique<SQLite::Statement>(m_db, sql);
    } else {
        slot->reset();
        slot->clearBindings();
    }
    return *slot;
}

SQLite::Statement& DatabaseConnection::Cached(const char* name,
                                              const std::function<std::string()>& make)
{
    const auto found = m_named.find(std::string_view(name));
    if (found != m_named.end()) {
        found->second->reset();
        found->second->clearBindings();
        return *found->second;
    }
    SQLite::Statement& statement = Cached(make());
    m_named.emplace(name, &statement);
    return statement;
}

const TableLayout& DatabaseConnection::Layout(const QString& table)
{
    auto found = m_layouts.find(table);
    if (found != m_layouts.end())
        return found->second;
    TableLayout layout;
    SQLite::Statement info(m_db, "PRAGMA table_info(" + QuotedName(table) + ")");
    while (info.executeStep()) {
        ColumnInfo column;
        column.name = QString::fromStdString(info.getColumn(1).getString());
        column.kind =
            KindOfDeclaredType(QString::fromStdString(info.getColumn(2).getString()), &column.size);
        layout.push_back(column);
    }
    if (layout.empty())
        throw std::runtime_error(QStringLiteral("no such table: %1").arg(table).toStdString());
    return m_layouts.emplace(table, std::move(layout)).first->second;
}

qint16 DatabaseConnection::ColumnKindOf(const QString& table, const QString& column)
{
    for (const ColumnInfo& info : Layout(table)) {
        if (info.name.compare(column, Qt::CaseInsensitive) == 0)
            return info.kind;
    }
    return kUnknownColumn;
}

qint16 FormsColumnKind(DatabaseConnection& connection, const QString& column)
{
    return connection.ColumnKindOf(QStringLiteral("Forms"), column);
}

// A file in write-ahead-log mode is read through its log's index (-shm),
// which a reader makes when the folder lets it. In a folder it may not
// write, with no log and no index there (nobody is writing the file), the
// file is whole as it stands and is read so, without locks.
bool ReadableAsItStands(const QString& path)
{
    return !QFileInfo::exists(path + QStringLiteral("-wal")) &&
           !QFileInfo::exists(path + QStringLiteral("-shm"));
}

std::string ImmutableName(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded().toStdString() +
           "?immutable=1";
}

QString InUseText(const std::exception& error)
{
    return QStringLiteral("the database is in use by another program: ") + ErrorText(error);
}

std::string QuotedName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return (QLatin1Char('"') + quoted + QLatin1Char('"')).toStdString();
}

QString EngineErrorText(DatabaseConnection* connection, const std::exception& error)
{
    const int lastErrno = errno;
    int system = connection ? sqlite3_system_errno(connection->Db().getHandle()) : 0;
    // The engine keeps the number only for some failures; the C library's
    // is still that of the failed write then.
    if (system == 0)
        system = lastErrno;
    return EngineErrorText(error, system);
}

QString EngineErrorText(const std::exception& error, int system)
{
    QString text = ErrorText(error);
    const auto* engine = dynamic_cast<const SQLite::Exception*>(&error);
    if (!engine)
        return text;
    const int code = engine->getErrorCode() & 0xff;
    if (code != SQLITE_IOERR && code != SQLITE_FULL && code != SQLITE_CANTOPEN)
        return text;
    if (system != 0)
        text +=
            QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(system)) + QLatin1Char(')');
    return text;
}

#include "database/ChangeLog.h"

#include "platform/Clock.h"
#include "platform/DatabaseConnection.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

namespace {

const char* const kCreateTable = "CREATE TABLE IF NOT EXISTS \"ChangeLog\" ("
                                 "\"EntryID\" INTEGER PRIMARY KEY, "
                                 "\"LoggedAt\" TEXT NOT NULL, "
                                 "\"Kind\" TEXT NOT NULL, "
                                 "\"What\" TEXT NOT NULL, "
                                 "\"Records\" TEXT NOT NULL, "
                                 "\"User\" TEXT NOT NULL)";

// A longer list of ranges says little more than its count and span.
constexpr int kMostRanges = 20;

QString UtcText(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODate);
}

QString Column(const SQLite::Column& column)
{
    return QString::fromUtf8(column.getText());
}

} // namespace

const std::vector<ChangeKind>& AllChangeKinds()
{
    static const std::vector<ChangeKind> kinds = {
        ChangeKind::Import, ChangeKind::Edit,      ChangeKind::Delete, ChangeKind::Transfer,
        ChangeKind::Merge,  ChangeKind::Retention, ChangeKind::Export, ChangeKind::Erase};
    return kinds;
}

QString ChangeKindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Import:
        return QStringLiteral("import");
    case ChangeKind::Edit:
        return QStringLiteral("edit");
    case ChangeKind::Delete:
        return QStringLiteral("delete");
    case ChangeKind::Transfer:
        return QStringLiteral("transfer");
    case ChangeKind::Merge:
        return QStringLiteral("merge");
    case ChangeKind::Retention:
        return QStringLiteral("retention");
    case ChangeKind::Export:
        return QStringLiteral("export");
    case ChangeKind::Erase:
        return QStringLiteral("erase");
    }
    return QString();
}

std::optional<ChangeKind> ChangeKindFromName(const QString& name)
{
    for (const ChangeKind kind : AllChangeKinds()) {
        if (ChangeKindName(kind).compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

void CreateChangeLogTable(SQLite::Database& db)
{
    db.exec(kCreateTable);
}

void AppendChangeLog(DatabaseConnection& connection, const Clock& clock, ChangeKind kind,
                     const QString& what, const QString& records)
{
    // Prepared once per connection: where the table exists it does nothing.
    connection.Cached(kCreateTable).exec();
    SQLite::Statement& insert =
        connection.Cached("INSERT INTO \"ChangeLog\" (\"LoggedAt\", \"Kind\", \"What\", "
                          "\"Records\", \"User\") VALUES (?, ?, ?, ?, ?)");
    insert.bind(1, UtcText(clock.Now()).toStdString());
    insert.bind(2, ChangeKindName(kind).toStdString());
    insert.bind(3, what.toStdString());
    insert.bind(4, records.toStdString());
    insert.bind(5, OperatingSystemUser().toStdString());
    insert.exec();
    insert.reset();
}

std::vector<ChangeLogEntry> ReadChangeLog(DatabaseConnection& connection,
                                          const ChangeLogFilter& filter)
{
    std::vector<ChangeLogEntry> entries;
    SQLite::Database& db = connection.Db();
    if (!db.tableExists("ChangeLog"))
        return entries;
    // instr over lower() finds the text as it is, with no pattern
    // characters of LIKE to escape.
    SQLite::Statement read(
        db, "SELECT \"EntryID\", \"LoggedAt\", \"Kind\", \"What\", \"Records\", \"User\" "
            "FROM \"ChangeLog\" WHERE (?1 IS NULL OR \"Kind\" = ?1) "
            "AND (?2 IS NULL OR \"LoggedAt\" >= ?2) "
            "AND (?3 IS NULL OR instr(lower(\"What\" || ' ' || \"Records\" || ' ' || \"User\"), "
            "lower(?3)) > 0) ORDER BY \"EntryID\"");
    if (filter.kind)
        read.bind(1, ChangeKindName(*filter.kind).toStdString());
    if (filter.since.isValid())
        read.bind(2, UtcText(filter.since).toStdString());
    if (!filter.text.isEmpty())
        read.bind(3, filter.text.toStdString());
    while (read.executeStep()) {
        ChangeLogEntry entry;
        entry.id = read.getColumn(0).getInt64();
        entry.loggedAt = QDateTime::fromString(Column(read.getColumn(1)), Qt::ISODate).toUTC();
        entry.kind = ChangeKindFromName(Column(read.getColumn(2))).value_or(ChangeKind::Edit);
        entry.what = Column(read.getColumn(3));
        entry.records = Column(read.getColumn(4));
        entry.user = Column(read.getColumn(5));
        entries.push_back(std::move(entry));
    }
    return entries;
}

QString ChangeLogRecords(std::vector<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    if (ids.empty())
        return QStringLiteral("none");
    QStringList ranges;
    for (size_t i = 0; i < ids.size();) {
        size_t end = i;
        while (end + 1 < ids.size() && ids[end + 1] == ids[end] + 1)
            ++end;
        ranges.append(end == i ? QString::number(ids[i])
                               : QStringLiteral("%1-%2").arg(ids[i]).arg(ids[end]));
        if (ranges.size() > kMostRanges)
            return QStringLiteral("%1 records, %2 to %3")
                .arg(ids.size())
                .arg(ids.front())
                .arg(ids.back());
        i = end + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

QString OperatingSystemUser()
{
    // The user does not change while the program runs, and the look-up
    // reads the password database: done once.
    static const QString user = [] {
        if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
            return QString::fromLocal8Bit(entry->pw_name);
        const QString fromEnvironment = qEnvironmentVariable("USER");
        return fromEnvironment.isEmpty() ? QStringLiteral("uid %1").arg(::geteuid())
                                         : fromEnvironment;
    }();
    return user;
}

std::optional<QDateTime> ParseChangeLogSince(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QDate day = QDate::fromString(trimmed, Qt::ISODate);
    if (day.isValid() && trimmed.size() == 10)
        return day.startOfDay();
    const QDateTime moment = QDateTime::fromString(trimmed, Qt::ISODate);
    if (moment.isValid())
        return moment;
    return std::nullopt;
}

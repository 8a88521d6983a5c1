#include "stats/SummaryStatistics.h"

#include "platform/DatabaseConnection.h"
#include "platform/ErrorText.h"
#include "session/Session.h"
#include "stats/StatisticsCollector.h"

#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>
#include <algorithm>
#include <string>

namespace {

QByteArrayView Bytes(const SQLite::Column& column)
{
    return QByteArrayView(static_cast<const char*>(column.getBlob()), column.getBytes());
}

// Which FormIDs are counted: those listed (one bit each up to the
// highest), or all, within the scope's range.
class ShownRecords {
public:
    explicit ShownRecords(const StatisticsScope& scope) : m_from(scope.from), m_to(scope.to)
    {
        if (!scope.ids)
            return;
        m_listed = true;
        const std::vector<qint64>& ids = *scope.ids;
        const qint64 last = ids.empty() ? 0 : *std::max_element(ids.begin(), ids.end());
        m_bits.assign(static_cast<size_t>(std::max<qint64>(last, 0)) + 1, false);
        for (const qint64 id : ids)
            if (id > 0)
                m_bits[static_cast<size_t>(id)] = true;
    }
    bool Has(qint64 id) const
    {
        if (id < m_from || id > m_to)
            return false;
        return !m_listed || (id > 0 && static_cast<size_t>(id) < m_bits.size() &&
                             m_bits[static_cast<size_t>(id)]);
    }
    bool All() const { return !m_listed && m_from <= 1 && m_to == kLast; }

private:
    static constexpr qint64 kLast = std::numeric_limits<qint64>::max();
    qint64 m_from;
    qint64 m_to;
    bool m_listed = false;
    std::vector<bool> m_bits;
};

// Reads the entries of the fields wanted (all, when none is named) in
// storage order, which keeps a record's entries together; an entry added to
// an older record later breaks that order, and then they are read again
// sorted by record. False when the order broke: the caller starts over
// sorted.
bool ReadEntries(SQLite::Database& db, const QStringList& wanted, bool sorted,
                 const ShownRecords* shown, StatisticsCollector& collector)
{
    std::string sql = "SELECT \"FormID\", \"Field_Name\", \"Field_Value\" FROM \"Data\"";
    if (!wanted.isEmpty()) {
        sql += " WHERE \"Field_Name\" COLLATE NOCASE IN (";
        for (int i = 0; i < wanted.size(); ++i)
            sql += i ? ",?" : "?";
        sql += ")";
    }
    // The unary plus keeps the planner to one pass and a sort.
    if (sorted)
        sql += " ORDER BY +\"FormID\", \"DataID\"";
    SQLite::Statement rows(db, sql);
    for (int i = 0; i < wanted.size(); ++i)
        rows.bind(i + 1, wanted[i].toStdString());
    qint64 before = 0;
    while (rows.executeStep()) {
        const qint64 formId = rows.getColumn(0).getInt64();
        if (formId < before)
            return false;
        before = formId;
        if (shown && !shown->Has(formId))
            continue;
        collector.Entry(formId, Bytes(rows.getColumn(1)), Bytes(rows.getColumn(2)));
    }
    return true;
}

// A few records among many are read through the FormID index, record by
// record, from a temporary table of their FormIDs (ascending), rather than
// by a pass over every entry.
constexpr const char* kListed = "temp.\"StatisticsRecords\"";

bool FewAmongMany(SQLite::Database& db, const StatisticsScope& scope)
{
    if (!scope.ids)
        return false;
    SQLite::Statement last(db, "SELECT max(\"FormID\") FROM \"Forms\"");
    last.executeStep();
    return static_cast<qint64>(scope.ids->size()) * 4 < last.getColumn(0).getInt64();
}

void ListRecords(SQLite::Database& db, const StatisticsScope& scope)
{
    db.exec(std::string("DROP TABLE IF EXISTS ") + kListed);
    db.exec(std::string("CREATE TABLE ") + kListed + " (\"id\" INTEGER PRIMARY KEY)");
    std::vector<qint64> ids;
    for (const qint64 id : *scope.ids)
        if (id >= scope.from && id <= scope.to)
            ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    SQLite::Statement insert(db, std::string("INSERT INTO ") + kListed + " VALUES (?)");
    for (const qint64 id : ids) {
        insert.bind(1, static_cast<int64_t>(id));
        insert.exec();
        insert.reset();
    }
}

void ReadListedEntries(SQLite::Database& db, const QStringList& wanted,
                       StatisticsCollector& collector)
{
    std::string sql =
        std::string("SELECT d.\"FormID\", d.\"Field_Name\", d.\"Field_Value\" FROM ") + kListed +
        " AS r CROSS JOIN \"Data\" AS d ON d.\"FormID\" = r.\"id\"";
    if (!wanted.isEmpty()) {
        sql += " WHERE d.\"Field_Name\" COLLATE NOCASE IN (";
        for (int i = 0; i < wanted.size(); ++i)
            sql += i ? ",?" : "?";
        sql += ")";
    }
    SQLite::Statement rows(db, sql);
    for (int i = 0; i < wanted.size(); ++i)
        rows.bind(i + 1, wanted[i].toStdString());
    while (rows.executeStep())
        collector.Entry(rows.getColumn(0).getInt64(), Bytes(rows.getColumn(1)),
                        Bytes(rows.getColumn(2)));
}

} // namespace

SummaryStatisticsResult SummaryStatistics(Session& session, const QStringList& fields)
{
    // A search result or the filter row narrows the summary's rows.
    StatisticsScope scope;
    if (session.Database.SummaryFiltered || !session.Database.SummaryView.Filters.isEmpty())
        scope.ids = session.Database.SummaryRecords.Ids();
    return RecordStatistics(session, fields, scope);
}

SummaryStatisticsResult RecordStatistics(Session& session, const QStringList& fields,
                                         const StatisticsScope& scope)
{
    SummaryStatisticsResult result;
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return result;
    const QStringList known = d.CurrentFieldNames.Names();
    QStringList wanted;
    for (const QString& name : fields) {
        const auto found = std::find_if(known.begin(), known.end(), [&](const QString& k) {
            return k.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (found == known.end()) {
            session.ui.MessageBox(
                QStringLiteral("Unknown field '%1': the database has no field of that name")
                    .arg(name.trimmed()),
                MessageIcon::Exclamation);
            return result;
        }
        wanted.append(*found);
    }
    SQLite::Database& db = d.CurrentDatabase->Db();
    std::unique_ptr<StatisticsCollector> collector;
    try {
        // One read transaction, so that both tables are read as one state.
        const bool own = sqlite3_get_autocommit(db.getHandle()) != 0;
        if (own)
            db.exec("BEGIN");
        try {
            if (FewAmongMany(db, scope)) {
                ListRecords(db, scope);
                collector = std::make_unique<StatisticsCollector>(wanted);
                ReadListedEntries(db, wanted, *collector);
                SQLite::Statement records(
                    db, std::string("SELECT f.\"Form_Date\" FROM ") + kListed +
                            " AS r CROSS JOIN \"Forms\" AS f ON f.\"FormID\" = r.\"id\"");
                while (records.executeStep())
                    collector->Record(Bytes(records.getColumn(0)));
                db.exec(std::string("DROP TABLE ") + kListed);
            } else {
                std::optional<ShownRecords> shown;
                if (ShownRecords records(scope); !records.All())
                    shown.emplace(std::move(records));
                const auto collect = [&](bool sorted) {
                    collector = std::make_unique<StatisticsCollector>(wanted);
                    return ReadEntries(db, wanted, sorted, shown ? &*shown : nullptr, *collector);
                };
                if (!collect(false))
                    collect(true);
                SQLite::Statement records(db, "SELECT \"FormID\", \"Form_Date\" FROM \"Forms\"");
                while (records.executeStep()) {
                    if (!shown || shown->Has(records.getColumn(0).getInt64()))
                        collector->Record(Bytes(records.getColumn(1)));
                }
            }
            if (own)
                db.exec("COMMIT");
        } catch (...) {
            if (own)
                db.exec("ROLLBACK");
            throw;
        }
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error reading data: ") +
                                  EngineErrorText(d.CurrentDatabase.get(), e),
                              MessageIcon::Exclamation);
        return result;
    }
    result.fields = collector->Finish(session.RegionalSettings);
    result.submissions = HistogramOfDates(collector->RecordDays());
    result.records = collector->Records();
    result.ok = true;
    return result;
}

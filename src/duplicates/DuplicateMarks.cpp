#include "duplicates/DuplicateMarks.h"

#include "duplicates/DuplicateFinder.h"
#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"

#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <map>

namespace {

const char* const kCreateTable =
    "CREATE TABLE IF NOT EXISTS \"DuplicateMarks\" ("
    "\"FormID\" INTEGER PRIMARY KEY REFERENCES \"Forms\" (\"FormID\") ON DELETE CASCADE, "
    "\"RepeatsID\" INTEGER NOT NULL REFERENCES \"Forms\" (\"FormID\") ON DELETE CASCADE, "
    "\"Cleared\" INTEGER NOT NULL DEFAULT 0)";

// A record cleared against the first stays cleared; any other mark of it
// becomes this one.
const char* const kMark =
    "INSERT INTO \"DuplicateMarks\" (\"FormID\", \"RepeatsID\", \"Cleared\") VALUES (?, ?, ?) "
    "ON CONFLICT (\"FormID\") DO UPDATE SET \"RepeatsID\" = excluded.\"RepeatsID\", "
    "\"Cleared\" = excluded.\"Cleared\" WHERE NOT (\"Cleared\" = 1 AND \"RepeatsID\" = "
    "excluded.\"RepeatsID\")";

// Every write makes the table first: it exists only once something is marked.
template <typename Write> void InTransaction(DatabaseConnection& connection, Write write)
{
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        db.exec(kCreateTable);
        write(db);
    });
}

void Put(SQLite::Statement& mark, qint64 formId, qint64 repeats, bool cleared)
{
    mark.reset();
    mark.bind(1, static_cast<int64_t>(formId));
    mark.bind(2, static_cast<int64_t>(repeats));
    mark.bind(3, cleared ? 1 : 0);
    mark.exec();
}

} // namespace

std::vector<DuplicateMark> LoadDuplicateMarks(DatabaseConnection& connection)
{
    std::vector<DuplicateMark> marks;
    if (!connection.Db().tableExists("DuplicateMarks"))
        return marks;
    SQLite::Statement rows(connection.Db(), "SELECT \"FormID\", \"RepeatsID\", \"Cleared\" FROM "
                                            "\"DuplicateMarks\" ORDER BY \"FormID\"");
    while (rows.executeStep())
        marks.push_back({rows.getColumn(0).getInt64(), rows.getColumn(1).getInt64(),
                         rows.getColumn(2).getInt() != 0});
    return marks;
}

int MarkDuplicateGroups(DatabaseConnection& connection, const std::vector<DuplicateGroup>& groups)
{
    int marked = 0;
    InTransaction(connection, [&](SQLite::Database& db) {
        db.exec("DELETE FROM \"DuplicateMarks\" WHERE \"Cleared\" = 0");
        SQLite::Statement mark(db, kMark);
        for (const DuplicateGroup& group : groups) {
            for (size_t i = 1; i < group.records.size(); ++i) {
                Put(mark, group.records[i].formId, group.records.front().formId, false);
                marked += db.getChanges() > 0 ? 1 : 0;
            }
        }
    });
    return marked;
}

int MarkNewDuplicates(DatabaseConnection& connection, const std::vector<DuplicateGroup>& groups,
                      qint64 after)
{
    int marked = 0;
    InTransaction(connection, [&](SQLite::Database& db) {
        SQLite::Statement mark(db, kMark);
        for (const DuplicateGroup& group : groups) {
            for (size_t i = 1; i < group.records.size(); ++i) {
                if (group.records[i].formId <= after)
                    continue;
                Put(mark, group.records[i].formId, group.records.front().formId, false);
                marked += db.getChanges() > 0 ? 1 : 0;
            }
        }
    });
    return marked;
}

void ClearDuplicateGroup(DatabaseConnection& connection, const std::vector<qint64>& ids)
{
    if (ids.size() < 2)
        return;
    const qint64 first = *std::min_element(ids.begin(), ids.end());
    InTransaction(connection, [&](SQLite::Database& db) {
        SQLite::Statement mark(db, kMark);
        for (const qint64 id : ids) {
            if (id != first)
                Put(mark, id, first, true);
        }
    });
}

void DropClearedRecords(std::vector<DuplicateGroup>& groups,
                        const std::vector<DuplicateMark>& marks)
{
    std::map<qint64, qint64> clearedAgainst;
    for (const DuplicateMark& mark : marks) {
        if (mark.cleared)
            clearedAgainst.emplace(mark.formId, mark.repeats);
    }
    if (clearedAgainst.empty())
        return;
    for (DuplicateGroup& group : groups) {
        const qint64 first = group.records.front().formId;
        std::erase_if(group.records, [&](const DuplicateMember& member) {
            const auto found = clearedAgainst.find(member.formId);
            return found != clearedAgainst.end() && found->second == first;
        });
    }
    std::erase_if(groups, [](const DuplicateGroup& group) { return group.records.size() < 2; });
}

void ForgetDuplicateMark(DatabaseConnection& connection, qint64 formId)
{
    if (!connection.Db().tableExists("DuplicateMarks"))
        return;
    SQLite::Statement& forget =
        connection.Cached("DELETE FROM \"DuplicateMarks\" WHERE \"FormID\" = ?");
    forget.bind(1, static_cast<int64_t>(formId));
    forget.exec();
}

void RepointDuplicateMarks(DatabaseConnection& connection, const std::vector<qint64>& from,
                           qint64 to)
{
    if (from.empty() || !connection.Db().tableExists("DuplicateMarks"))
        return;
    SQLite::Statement& repoint = connection.Cached(
        "UPDATE \"DuplicateMarks\" SET \"RepeatsID\" = ?1 WHERE \"RepeatsID\" = ?2 "
        "AND \"FormID\" <> ?1");
    for (const qint64 id : from) {
        repoint.reset();
        repoint.bind(1, static_cast<int64_t>(to));
        repoint.bind(2, static_cast<int64_t>(id));
        repoint.exec();
    }
    repoint.reset();
}

std::unordered_map<qint64, qint64> PossibleDuplicateOf(SQLite::Database& db)
{
    std::unordered_map<qint64, qint64> marks;
    if (!db.tableExists("DuplicateMarks"))
        return marks;
    SQLite::Statement rows(
        db, "SELECT \"FormID\", \"RepeatsID\" FROM \"DuplicateMarks\" WHERE \"Cleared\" = 0");
    while (rows.executeStep())
        marks.emplace(rows.getColumn(0).getInt64(), rows.getColumn(1).getInt64());
    return marks;
}

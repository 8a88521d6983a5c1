#include "privacy/RetentionRun.h"

#include "database/ChangeLog.h"
#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"
#include "privacy/RecordErasure.h"

#include <SQLiteCpp/Statement.h>

namespace {

// Record dates are stored as ISO 8601 text ("YYYY-MM-DD", maybe with a
// time); a date the import could not read is kept as it came and is never
// taken for one.
const char* const kPastRecords =
    "SELECT \"FormID\" FROM \"Forms\" WHERE \"Form_Date\" GLOB "
    "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*' AND substr(\"Form_Date\", 1, 10) < ?1";

std::string FieldList(const RetentionRule& rule)
{
    std::string list;
    for (qsizetype i = 0; i < rule.fields.size(); ++i)
        list += i == 0 ? "?" : ", ?";
    return list;
}

void BindFields(SQLite::Statement& statement, const RetentionRule& rule, int first)
{
    for (qsizetype i = 0; i < rule.fields.size(); ++i)
        statement.bind(first + static_cast<int>(i), rule.fields[i].toStdString());
}

QString Period(const RetentionRule& rule)
{
    return RetentionPeriodText(rule.days);
}

bool Masks(const RetentionRule& rule)
{
    return rule.action == RetentionRule::Action::Mask;
}

} // namespace

RetentionPlan PlanRetention(DatabaseConnection& connection, const RetentionRule& rule,
                            const QDate& today)
{
    RetentionPlan plan;
    if (!rule.IsSet() || (Masks(rule) && rule.fields.isEmpty()))
        return plan;
    plan.cutoff = today.addDays(-rule.days);
    std::string sql = kPastRecords;
    if (Masks(rule))
        sql = "SELECT \"FormID\" FROM \"Forms\" WHERE \"FormID\" IN (" + sql +
              ") AND EXISTS (SELECT 1 FROM \"Data\" WHERE \"Data\".\"FormID\" = "
              "\"Forms\".\"FormID\" AND \"Field_Name\" IN (" +
              FieldList(rule) + ") AND \"Field_Value\" <> '')";
    SQLite::Statement past(connection.Db(), sql + " ORDER BY \"FormID\"");
    past.bind(1, plan.cutoff.toString(Qt::ISODate).toStdString());
    if (Masks(rule))
        BindFields(past, rule, 2);
    while (past.executeStep())
        plan.ids.push_back(past.getColumn(0).getInt64());
    return plan;
}

int ApplyRetention(DatabaseConnection& connection, const Clock& clock, const RetentionRule& rule,
                   const RetentionPlan& plan)
{
    if (!Masks(rule))
        return EraseRecords(connection, clock, plan.ids, ChangeKind::Retention,
                            QStringLiteral("%1 record(s) deleted: past the retention period of ") +
                                Period(rule));
    int changed = 0;
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        changed = 0;
        std::vector<qint64> masked;
        SQLite::Statement blank(db,
                                "UPDATE \"Data\" SET \"Field_Value\" = '' WHERE \"FormID\" = ?1 "
                                "AND \"Field_Value\" <> '' AND \"Field_Name\" IN (" +
                                    FieldList(rule) + ")");
        BindFields(blank, rule, 2);
        for (const qint64 id : plan.ids) {
            blank.reset();
            blank.bind(1, static_cast<int64_t>(id));
            if (blank.exec() > 0) {
                ++changed;
                masked.push_back(id);
            }
        }
        AppendChangeLog(connection, clock, ChangeKind::Retention, RetentionOutcome(rule, changed),
                        ChangeLogRecords(masked));
    });
    // The masked values are gone from the file only once the log is
    // emptied into it.
    connection.CheckpointLog();
    return changed;
}

QString RetentionQuestion(const RetentionRule& rule, int count)
{
    const bool one = count == 1;
    const QString head =
        (one ? QStringLiteral("1 record is past the retention period of %1")
             : QStringLiteral("%1 records are past the retention period of %2").arg(count))
            .arg(Period(rule));
    const QString them = one ? QStringLiteral("it") : QStringLiteral("them");
    if (!Masks(rule))
        return head + QStringLiteral(": delete %1 now?").arg(them);
    return head +
           QStringLiteral(": mask %1 in %2 now?").arg(rule.fields.join(QStringLiteral(", ")), them);
}

QString RetentionOutcome(const RetentionRule& rule, int count, bool done)
{
    const QString change =
        Masks(rule) ? QStringLiteral("masked (%1)").arg(rule.fields.join(QStringLiteral(", ")))
                    : QStringLiteral("deleted");
    return QStringLiteral("%1 record(s) %2%3: past the retention period of %4")
        .arg(count)
        .arg(done ? QString() : QStringLiteral("would be "), change, Period(rule));
}

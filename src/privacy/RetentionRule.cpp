#include "privacy/RetentionRule.h"

#include "duplicates/DuplicateKeys.h"
#include "platform/DatabaseConnection.h"
#include "platform/WriteTransaction.h"

#include <SQLiteCpp/Statement.h>

namespace {

const char* const kCreateTable =
    "CREATE TABLE IF NOT EXISTS \"Retention\" (\"Key\" TEXT PRIMARY KEY, \"Value\" TEXT)";

// The longest period the dialog offers: a hundred years.
constexpr int kMostDays = 36500;

} // namespace

RetentionRule LoadRetentionRule(DatabaseConnection& connection)
{
    RetentionRule rule;
    SQLite::Database& db = connection.Db();
    if (!db.tableExists("Retention"))
        return rule;
    SQLite::Statement rows(db, "SELECT \"Key\", \"Value\" FROM \"Retention\"");
    while (rows.executeStep()) {
        const QString key = QString::fromUtf8(rows.getColumn(0).getText());
        const QString value = QString::fromUtf8(rows.getColumn(1).getText());
        if (key == QLatin1String("Days")) {
            bool ok = false;
            const int days = value.toInt(&ok);
            rule.days = ok && days > 0 ? days : 0;
        } else if (key == QLatin1String("Action")) {
            rule.action = value == QLatin1String("mask") ? RetentionRule::Action::Mask
                                                         : RetentionRule::Action::Delete;
        } else if (key == QLatin1String("Fields")) {
            rule.fields = value.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        }
    }
    // A mask rule naming no field would change nothing: it is no rule.
    if (rule.action == RetentionRule::Action::Mask && rule.fields.isEmpty())
        rule.days = 0;
    return rule;
}

void SaveRetentionRule(DatabaseConnection& connection, const RetentionRule& rule)
{
    InWriteTransaction(connection, [&](SQLite::Database& db) {
        db.exec(kCreateTable);
        db.exec("DELETE FROM \"Retention\"");
        if (!rule.IsSet())
            return;
        SQLite::Statement insert(db, "INSERT INTO \"Retention\" VALUES (?, ?)");
        const auto put = [&](const char* key, const QString& value) {
            insert.reset();
            insert.bind(1, key);
            insert.bind(2, value.toStdString());
            insert.exec();
        };
        put("Days", QString::number(rule.days));
        const bool mask = rule.action == RetentionRule::Action::Mask;
        put("Action", mask ? QStringLiteral("mask") : QStringLiteral("delete"));
        if (mask)
            put("Fields", rule.fields.join(QStringLiteral("\r\n")));
    });
}

QString RetentionRuleProblem(RetentionRule* rule, const QString& fieldNamesList)
{
    if (rule->days <= 0)
        return QStringLiteral("The retention period must be one day or more.");
    if (rule->days > kMostDays)
        return QStringLiteral("The retention period must be at most %1 days.").arg(kMostDays);
    if (rule->action != RetentionRule::Action::Mask)
        return {};
    if (rule->fields.isEmpty())
        return QStringLiteral("Choose the fields to mask.");
    QString unknown;
    const QStringList known = KnownKeyFields(rule->fields, fieldNamesList, &unknown);
    if (known.isEmpty())
        return QStringLiteral("Unknown field '%1': the database has no field of that name")
            .arg(unknown);
    rule->fields = known;
    return {};
}

std::optional<RetentionRule> ParseRetentionRule(const QString& text, QString* error)
{
    if (text.trimmed() == QLatin1String("none"))
        return RetentionRule{};
    RetentionRule rule;
    bool hasDays = false, hasAction = false, inFields = false;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        const QString key = equals < 0 ? QString() : part.left(equals).trimmed();
        const QString value = (equals < 0 ? part : part.mid(equals + 1)).trimmed();
        if (equals < 0 && inFields) {
            rule.fields.append(value);
            continue;
        }
        inFields = false;
        if (key == QLatin1String("days")) {
            bool ok = false;
            rule.days = value.toInt(&ok);
            if (!ok) {
                *error = QStringLiteral("days takes a whole number, not '%1'").arg(value);
                return std::nullopt;
            }
            hasDays = true;
        } else if (key == QLatin1String("action") &&
                   (value == QLatin1String("delete") || value == QLatin1String("mask"))) {
            rule.action = value == QLatin1String("mask") ? RetentionRule::Action::Mask
                                                         : RetentionRule::Action::Delete;
            hasAction = true;
        } else if (key == QLatin1String("fields")) {
            rule.fields.append(value);
            inFields = true;
        } else {
            *error = QStringLiteral("'%1' is not days=N, action=delete|mask or fields=NAME,...")
                         .arg(part.trimmed());
            return std::nullopt;
        }
    }
    if (!hasDays || !hasAction) {
        *error = QStringLiteral("a rule needs days=N and action=delete|mask");
        return std::nullopt;
    }
    rule.fields.removeAll(QString());
    return rule;
}

QString RetentionPeriodText(int days)
{
    return days == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(days);
}

QString DescribeRetentionRule(const RetentionRule& rule)
{
    if (!rule.IsSet())
        return QStringLiteral("none");
    if (rule.action == RetentionRule::Action::Delete)
        return RetentionPeriodText(rule.days) + QStringLiteral(", then delete the record");
    return RetentionPeriodText(rule.days) + QStringLiteral(", then mask ") +
           rule.fields.join(QStringLiteral(", "));
}

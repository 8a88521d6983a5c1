#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "platform/DatabaseConnection.h"
#include "privacy/RetentionRun.h"

#include <SQLiteCpp/Statement.h>
#include <cstdio>

namespace {

void PrintError(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// One line a record the run would change: FormID, date and name.
void ListPlan(CliContext& context, DatabaseConnection& connection, const RetentionPlan& plan)
{
    SQLite::Statement& row = connection.Cached(
        "SELECT substr(\"Form_Date\", 1, 10), \"Form_Name\" FROM \"Forms\" WHERE \"FormID\" = ?");
    for (const qint64 id : plan.ids) {
        row.reset();
        row.bind(1, static_cast<int64_t>(id));
        if (!row.executeStep())
            continue;
        context.out << id << '\t' << QString::fromUtf8(row.getColumn(0).getText()) << '\t'
                    << QString::fromUtf8(row.getColumn(1).getText()).simplified() << '\n';
    }
}

} // namespace

// retention DB [--set RULE] [--list] [--apply | --dry-run] [--yes]: the
// database's retention rule, and running it.
int RunRetention(CliContext& context, QStringList args)
{
    QString ruleText;
    bool hasRule = false;
    if (!TakeOption(args, QStringLiteral("--set"), &ruleText, &hasRule))
        return UsageError(QStringLiteral("retention: --set takes a rule, such as "
                                         "days=365,action=delete"));
    bool list = TakeFlag(args, QStringLiteral("--list"));
    const bool apply = TakeFlag(args, QStringLiteral("--apply"));
    const bool dryRun = TakeFlag(args, QStringLiteral("--dry-run"));
    const bool yes = TakeFlag(args, QStringLiteral("--yes"));
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("retention needs one database file"));
    if (apply && dryRun)
        return UsageError(QStringLiteral("retention takes --apply or --dry-run, not both"));
    std::optional<RetentionRule> rule;
    if (hasRule) {
        QString error;
        rule = ParseRetentionRule(ruleText, &error);
        if (!rule)
            return UsageError(QStringLiteral("retention: ") + error);
    }
    list = list || (!hasRule && !apply && !dryRun);
    const bool writes = hasRule || (apply && yes);
    if (!OpenCliDatabase(context, args.first(), false,
                         writes ? DatabaseAccess::ReadWrite : DatabaseAccess::ReadOnly))
        return kExitFailed;
    Session& session = context.session;
    DatabaseConnection& connection = *session.Database.CurrentDatabase;
    try {
        if (rule) {
            if (ruleText.trimmed() != QLatin1String("none")) {
                if (const QString problem =
                        RetentionRuleProblem(&*rule, session.Database.CurrentFieldNames.List());
                    !problem.isEmpty()) {
                    PrintError(problem);
                    return kExitFailed;
                }
            }
            SaveRetentionRule(connection, *rule);
            context.out << "Retention rule saved: " << DescribeRetentionRule(*rule) << '\n';
        }
        const RetentionRule saved = rule ? *rule : LoadRetentionRule(connection);
        if (list)
            context.out << "Retention: " << DescribeRetentionRule(saved) << '\n';
        if (!apply && !dryRun) {
            context.out.flush();
            return kExitOk;
        }
        if (!saved.IsSet()) {
            context.out.flush();
            PrintError(QStringLiteral("No retention rule is set; --set gives one"));
            return kExitFailed;
        }
        const RetentionPlan plan = PlanRetention(connection, saved, session.Now.Now().date());
        const int count = static_cast<int>(plan.ids.size());
        if (dryRun || !yes) {
            ListPlan(context, connection, plan);
            context.out << RetentionOutcome(saved, count, false) << '\n';
            context.out.flush();
            if (!dryRun) {
                PrintError(QStringLiteral("Nothing changed: only --apply --yes applies the rule"));
                return kExitFailed;
            }
            return kExitOk;
        }
        const int changed = ApplyRetention(connection, session.Now, saved, plan);
        context.out << RetentionOutcome(saved, changed) << '\n';
    } catch (const std::exception& e) {
        context.out.flush();
        PrintError(QStringLiteral("Error applying the retention rule: ") +
                   EngineErrorText(&connection, e));
        return kExitFailed;
    }
    context.out.flush();
    return kExitOk;
}

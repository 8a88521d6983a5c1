#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/CliSummaryOrder.h"
#include "cli/RecordListing.h"
#include "cli/Verbs.h"

// list [--fields NAME,...] [--sort [-]COLUMN] [--where COLUMN FILTER]...
// [--json] DB: every record, in FormID order unless sorted, one line each
// (FormID, date, name, source and a value per field, separated by tabs),
// or a JSON array of record objects without their fields.
int RunList(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    QString fields;
    bool hasFields = false;
    if (!TakeOption(args, QStringLiteral("--fields"), &fields, &hasFields))
        return UsageError(QStringLiteral("list: --fields takes NAME,..."));
    CliSummaryOrder order;
    QString usage;
    if (!TakeSummaryOrder(args, QStringLiteral("list"), &order, &usage))
        return UsageError(usage);
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("list needs exactly one database file"));
    if (!OpenCliDatabase(context, args.first(), false, DatabaseAccess::ReadOnly))
        return kExitFailed;
    QStringList fieldColumns;
    if (hasFields) {
        QString unknown;
        if (!KnownFieldNames(context, fields.split(QLatin1Char(','), Qt::SkipEmptyParts),
                             &fieldColumns, &unknown))
            return UsageError(QStringLiteral("list: no field called ") + unknown);
    }
    if (const int status = ApplySummaryOrder(context, order, fieldColumns); status != kExitOk)
        return status;
    return PrintSummaryRecords(context, json, fieldColumns) ? kExitOk : kExitFailed;
}

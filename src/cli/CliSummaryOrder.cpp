#include "cli/CliSummaryOrder.h"

#include "cli/CliContext.h"
#include "database/FieldNamesList.h"
#include "search/SummaryOrder.h"
#include "search/SummaryView.h"

#include <cstdio>

bool TakeSummaryOrder(QStringList& args, const QString& verb, CliSummaryOrder* order,
                      QString* usage)
{
    bool hasSort = false;
    if (!TakeOption(args, QStringLiteral("--sort"), &order->sort, &hasSort) ||
        (hasSort && order->sort.trimmed().isEmpty())) {
        *usage = verb + QStringLiteral(": --sort takes [-]COLUMN");
        return false;
    }
    for (qsizetype at; (at = OptionAt(args, QStringLiteral("--where"))) >= 0;) {
        if (at + 2 >= args.size()) {
            *usage = verb + QStringLiteral(": --where takes COLUMN FILTER");
            return false;
        }
        order->where.append({args[at + 1], args[at + 2]});
        args.remove(at, 3);
    }
    return true;
}

bool KnownFieldNames(CliContext& context, const QStringList& names, QStringList* known,
                     QString* unknown)
{
    const QStringList stored =
        SplitFieldNamesList(context.session.Database.CurrentFieldNames.List());
    for (const QString& name : names) {
        const auto found = std::find_if(stored.begin(), stored.end(), [&](const QString& s) {
            return s.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (found == stored.end()) {
            *unknown = name.trimmed();
            return false;
        }
        if (!known->contains(*found))
            known->append(*found);
    }
    return true;
}

int ApplySummaryOrder(CliContext& context, const CliSummaryOrder& order,
                      const QStringList& fieldColumns)
{
    Session& session = context.session;
    DatabaseState& d = session.Database;
    SummaryViewState& view = d.SummaryView;
    view.FieldColumns = fieldColumns;
    view.ClearOrder();
    // A column names a header column, else a field of the database.
    const auto columnOf = [&](const QString& name) {
        int column = SummaryColumnNamed(session, name);
        if (column >= 0)
            return column;
        QString unknown;
        QStringList known;
        if (!KnownFieldNames(context, {name}, &known, &unknown))
            return -1;
        view.FieldColumns.append(known.first());
        return SummaryViewState::kHeaderColumns + int(view.FieldColumns.size()) - 1;
    };
    if (!order.sort.isEmpty()) {
        const bool descending = order.sort.startsWith(QLatin1Char('-'));
        const QString name = descending ? order.sort.mid(1) : order.sort;
        view.SortColumn = columnOf(name);
        if (view.SortColumn < 0)
            return UsageError(QStringLiteral("no column called ") + name.trimmed());
        view.SortDescending = descending;
    }
    for (const auto& [name, filter] : order.where) {
        const int column = columnOf(name);
        if (column < 0)
            return UsageError(QStringLiteral("no column called ") + name.trimmed());
        if (view.Filters.contains(column))
            return UsageError(QStringLiteral("--where names %1 twice").arg(name.trimmed()));
        view.Filters.insert(column, filter);
    }
    if (!view.Ordered())
        return kExitOk;
    const std::vector<qint64>* searchResult = d.SummaryFiltered ? &d.SummaryRecords.Ids() : nullptr;
    SummaryOrderResult ordered =
        OrderSummary(d.CurrentDatabasePath, view, searchResult, session.RegionalSettings);
    if (ordered.faultColumn >= 0)
        return UsageError(
            QStringLiteral("Filter of %1: %2")
                .arg(SummaryColumnCaption(session, ordered.faultColumn), ordered.error));
    if (!ordered.ok) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("Error reading data: ") + ordered.error));
        return kExitFailed;
    }
    d.SummaryRecords.Assign(std::move(ordered.ids));
    d.SummaryFiltered = true;
    view.FieldColumns = fieldColumns;
    return kExitOk;
}

#include "search/SummaryView.h"

#include "database/RecordReader.h"
#include "database/SummaryColumnsTable.h"
#include "platform/ErrorText.h"
#include "search/SummaryModel.h"
#include "search/SummaryOrder.h"
#include "session/Session.h"

namespace {

constexpr int kHeader = SummaryViewState::kHeaderColumns;

void ShowRows(Session& session, std::vector<qint64> ids, std::optional<qint64> current)
{
    DatabaseState& d = session.Database;
    d.SummaryRecords.Assign(std::move(ids));
    if (current)
        d.SummaryRecords.Seek(*current);
    const int count = d.SummaryRecords.Count();
    if (count == 0)
        d.RecordState |= DatabaseState::NoRecords;
    else
        d.RecordState &= ~DatabaseState::NoRecords;
    emit session.Events.SummaryReloaded(count);
}

} // namespace

QString SummaryColumnCaption(const Session& session, int column)
{
    if (column >= 0 && column < kHeader) {
        const QString caption =
            session.Config.SummaryCaptions.value(SummaryModel::SourceField(column));
        return caption.isEmpty() ? SummaryModel::DefaultCaption(column) : caption;
    }
    const QStringList& fields = session.Database.SummaryView.FieldColumns;
    return column >= kHeader && column - kHeader < fields.size() ? fields[column - kHeader]
                                                                 : QString();
}

int SummaryColumnNamed(const Session& session, const QString& name)
{
    const QString wanted = name.trimmed();
    for (int c = 0; c < kHeader; ++c) {
        if (wanted.compare(SummaryColumnCaption(session, c), Qt::CaseInsensitive) == 0 ||
            wanted.compare(SummaryModel::DefaultCaption(c), Qt::CaseInsensitive) == 0 ||
            wanted.compare(SummaryModel::DefaultCaption(c).section(QStringLiteral(" ["), 0, 0),
                           Qt::CaseInsensitive) == 0 ||
            wanted.compare(SummaryModel::SourceField(c), Qt::CaseInsensitive) == 0)
            return c;
    }
    const QStringList& fields = session.Database.SummaryView.FieldColumns;
    for (int i = 0; i < fields.size(); ++i)
        if (wanted.compare(fields[i], Qt::CaseInsensitive) == 0)
            return kHeader + i;
    return -1;
}

bool ApplySummaryView(Session& session, QList<SummaryFilterFault>* faults)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return false;
    const std::optional<qint64> current = d.SummaryRecords.Bookmark();
    const std::vector<qint64>* searchResult =
        d.SummaryFiltered ? &d.SummaryView.SearchResultIds : nullptr;
    if (!d.SummaryView.Ordered()) {
        if (searchResult)
            ShowRows(session, *searchResult, current);
        else {
            try {
                d.SummaryRecords.Load(*d.CurrentDatabase);
            } catch (const std::exception& e) {
                session.ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                                      MessageIcon::Exclamation);
            }
            ShowRows(session, d.SummaryRecords.Ids(), current);
        }
        return true;
    }

    // A box at fault filters nothing: the others still apply.
    SummaryViewState view = d.SummaryView;
    QList<SummaryFilterFault> found;
    SummaryOrderResult ordered;
    for (;;) {
        ordered = OrderSummary(d.CurrentDatabasePath, view, searchResult, session.RegionalSettings);
        if (ordered.faultColumn < 0)
            break;
        found.append({ordered.faultColumn,
                      QStringLiteral("Filter of %1: %2")
                          .arg(SummaryColumnCaption(session, ordered.faultColumn), ordered.error)});
        view.Filters.remove(ordered.faultColumn);
    }
    if (faults)
        *faults = found;
    if (!ordered.ok) {
        session.ui.MessageBox(QStringLiteral("Error reading data: ") + ordered.error,
                              MessageIcon::Exclamation);
        d.SummaryView.ClearOrder();
        ApplySummaryView(session);
        return false;
    }
    const bool empty = ordered.ids.empty();
    ShowRows(session, std::move(ordered.ids), current);
    if (!found.isEmpty())
        session.ui.SetStatusText(found.first().message);
    else if (empty)
        session.ui.SetStatusText(QStringLiteral("No record found"));
    if (empty)
        NewResume(session);
    return true;
}

bool SortSummary(Session& session, int column, bool descending)
{
    SummaryViewState& view = session.Database.SummaryView;
    view.SortColumn = column < 0 ? -1 : column;
    view.SortDescending = column >= 0 && descending;
    return ApplySummaryView(session);
}

bool SortSummaryByHeading(Session& session, int column)
{
    const SummaryViewState& view = session.Database.SummaryView;
    if (view.SortColumn != column)
        return SortSummary(session, column, false);
    if (!view.SortDescending)
        return SortSummary(session, column, true);
    return SortSummary(session, -1, false);
}

bool FilterSummary(Session& session, int column, const QString& text,
                   QList<SummaryFilterFault>* faults)
{
    SummaryViewState& view = session.Database.SummaryView;
    if (text.trimmed().isEmpty())
        view.Filters.remove(column);
    else
        view.Filters.insert(column, text);
    return ApplySummaryView(session, faults);
}

bool SetSummaryFieldColumns(Session& session, const QStringList& names, const QList<int>& widths)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return false;
    try {
        WriteSummaryFieldColumns(d.CurrentDatabase->Db(), {names, widths});
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error saving the summary's columns: ") + ErrorText(e),
                              MessageIcon::Exclamation);
        return false;
    }
    SummaryViewState& view = d.SummaryView;
    // A column's sort and filter go with its field to its new place.
    const auto moved = [&](int column) {
        if (column < kHeader)
            return column;
        const qsizetype place = names.indexOf(view.FieldColumns.value(column - kHeader));
        return place < 0 ? -1 : kHeader + int(place);
    };
    const bool wasOrdered = view.Ordered();
    view.SortColumn = view.SortColumn < 0 ? -1 : moved(view.SortColumn);
    QMap<int, QString> filters;
    for (auto it = view.Filters.begin(); it != view.Filters.end(); ++it)
        if (const int column = moved(it.key()); column >= 0)
            filters.insert(column, it.value());
    view.Filters = filters;
    if (view.SortColumn < 0)
        view.SortDescending = false;
    view.FieldColumns = names;
    view.FieldWidths = widths;
    while (view.FieldWidths.size() < names.size())
        view.FieldWidths.append(0);
    if (wasOrdered)
        return ApplySummaryView(session);
    emit session.Events.SummaryReloaded(d.SummaryRecords.Count());
    return true;
}

bool SaveSummaryFieldWidths(Session& session, const QList<int>& widths)
{
    DatabaseState& d = session.Database;
    SummaryViewState& view = d.SummaryView;
    if (!d.CurrentDatabase || widths == view.FieldWidths)
        return true;
    try {
        WriteSummaryFieldColumns(d.CurrentDatabase->Db(), {view.FieldColumns, widths});
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error saving the summary's columns: ") + ErrorText(e),
                              MessageIcon::Exclamation);
        return false;
    }
    view.FieldWidths = widths;
    return true;
}

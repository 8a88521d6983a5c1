#include "search/SummaryFieldsChoice.h"

#include "database/FieldNamesList.h"
#include "search/SummaryView.h"
#include "session/Session.h"

SummaryFieldsChoice::SummaryFieldsChoice(Session& session) : m_session(session)
{
    const SummaryViewState& view = session.Database.SummaryView;
    for (const QString& name : view.FieldColumns)
        m_items.append({name, true});
    for (const QString& name : SplitFieldNamesList(session.Database.CurrentFieldNames.List()))
        if (!view.FieldColumns.contains(name))
            m_items.append({name, false});
}

void SummaryFieldsChoice::SetChecked(int row, bool checked)
{
    if (row >= 0 && row < m_items.size())
        m_items[row].checked = checked;
}

bool SummaryFieldsChoice::MoveUp(int row)
{
    if (row <= 0 || row >= m_items.size())
        return false;
    m_items.swapItemsAt(row, row - 1);
    return true;
}

bool SummaryFieldsChoice::MoveDown(int row)
{
    if (row < 0 || row + 1 >= m_items.size())
        return false;
    m_items.swapItemsAt(row, row + 1);
    return true;
}

QStringList SummaryFieldsChoice::Chosen() const
{
    QStringList names;
    for (const Item& item : m_items)
        if (item.checked)
            names.append(item.name);
    return names;
}

bool SummaryFieldsChoice::Ok()
{
    const SummaryViewState& view = m_session.Database.SummaryView;
    const QStringList names = Chosen();
    QList<int> widths;
    for (const QString& name : names) {
        const qsizetype before = view.FieldColumns.indexOf(name);
        widths.append(before >= 0 ? view.FieldWidths.value(before) : 0);
    }
    return SetSummaryFieldColumns(m_session, names, widths);
}

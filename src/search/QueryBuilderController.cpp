#include "search/QueryBuilderController.h"

#include "session/ActivationStatus.h"
#include "session/Session.h"
#include "session/WindowHost.h"
#include "search/QueryFields.h"
#include "search/QueryFile.h"

#include <algorithm>

QueryGrid& QueryBuilderController::Rows()
{
    return m_session.Search.QueryRows;
}
const QueryGrid& QueryBuilderController::Rows() const
{
    return m_session.Search.QueryRows;
}

QStringList QueryBuilderController::ValueChoices(int row) const
{
    const QueryGrid& rows = Rows();
    if (row < 0 || row >= rows.size())
        return {};
    // Choices are kept one per line.
    QStringList choices = rows[row][kChoicesColumn].split(QStringLiteral("\r\n"));
    choices.removeAll(QString());
    return choices;
}

void QueryBuilderController::Form_Activate()
{
    ShowActivationStatus(m_session.ui, ChildKind::QueryBuilder);
    const DatabaseState& d = m_session.Database;
    if ((d.RecordState & (DatabaseState::NewRecord | DatabaseState::EditRecord)) != 0 &&
        m_savePending)
        m_savePending();
    m_fieldList = QueryFieldList(m_session.Config, m_session.Database.CurrentFieldNames.List());
}

bool QueryBuilderController::grdQuery_ComboSelect(int row, int column, const QString& text)
{
    QueryGrid& rows = Rows();
    if (row < 0 || row >= rows.size() || column < 0 || column >= kShownQueryColumns)
        return false;
    if (column != kFieldNameColumn) {
        rows[row][column] = text;
        return true;
    }
    return ChooseQueryField(m_session.ui, m_session.Config, rows[row], text);
}

void QueryBuilderController::SetCell(int row, int column, const QString& text)
{
    QueryGrid& rows = Rows();
    if (row < 0 || row >= rows.size() || column < 0 || column >= kShownQueryColumns ||
        !grdQuery_BeforeColEdit(column))
        return;
    rows[row][column] = text;
}

int QueryBuilderController::AddRow()
{
    Rows().append(NewQueryRow());
    return int(Rows().size()) - 1;
}

void QueryBuilderController::DeleteRows(QList<int> rows)
{
    QueryGrid& grid = Rows();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int r : rows) {
        if (r >= 0 && r < grid.size())
            grid.removeAt(r);
    }
    if (grid.isEmpty())
        grid.append(QueryRow());
}

QueryCheck QueryBuilderController::cmdGo_Click()
{
    QueryCheck check;
    RunQueryBuilder(m_session, &check);
    if (!check.rejected && m_shell)
        m_shell->BringToFront(ChildKind::Summary);
    return check;
}

void QueryBuilderController::cmdClear_Click()
{
    Rows() = QueryGrid{QueryRow()};
    m_session.Search.QueryColumns = kShownQueryColumns;
}

bool QueryBuilderController::cmdSave_Click()
{
    return SaveQueryFile(m_session.ui, Rows());
}

bool QueryBuilderController::LoadFile(const QString& path)
{
    Session& session = m_session;
    return ReadQueryFile(session.ui, path, Rows(), session.Search.QueryColumns,
                         [&session](const QString& qualified) {
                             return LookupRecordField(session.Config, qualified);
                         });
}

bool QueryBuilderController::cmdLoad_Click()
{
    Session& session = m_session;
    return LoadQueryFile(session.ui, Rows(), session.Search.QueryColumns,
                         [&session](const QString& qualified) {
                             return LookupRecordField(session.Config, qualified);
                         });
}

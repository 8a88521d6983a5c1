#include "search/QueryGridModel.h"

#include "search/QueryBuilderController.h"

namespace {
const char* const kHeadings[kShownQueryColumns] = {"(",     "Not", "Field Name", "Operator",
                                                   "Value", ")",   "Connector"};
}

void QueryGridModel::Reload()
{
    beginResetModel();
    endResetModel();
}

int QueryGridModel::NewRowIndex() const
{
    return int(m_controller.Rows().size());
}

int QueryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NewRowIndex() + 1;
}

int QueryGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kShownQueryColumns;
}

QVariant QueryGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QueryGrid& rows = m_controller.Rows();
    if (index.row() >= rows.size())
        return QString();
    return rows[index.row()][index.column()];
}

QVariant QueryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < kShownQueryColumns
                   ? QString::fromLatin1(kHeadings[section])
                   : QVariant();
    return section == NewRowIndex() ? QStringLiteral("*") : QString::number(section + 1);
}

Qt::ItemFlags QueryGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool QueryGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    int row = index.row();
    if (row == NewRowIndex()) {
        if (text.isEmpty())
            return false; // leaving the new row untouched adds nothing
        beginInsertRows(QModelIndex(), row + 1, row + 1);
        m_controller.AddRow();
        endInsertRows();
        emit headerDataChanged(Qt::Vertical, row, row + 1);
    }
    bool ok = true;
    if (index.column() == kFieldNameColumn)
        ok = m_controller.grdQuery_ComboSelect(row, index.column(), text);
    else
        m_controller.SetCell(row, index.column(), text);
    emit dataChanged(this->index(row, 0), this->index(row, kShownQueryColumns - 1));
    return ok;
}

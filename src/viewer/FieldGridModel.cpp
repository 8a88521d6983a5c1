#include "viewer/FieldGridModel.h"

#include "session/RecordTables.h"

FieldGridModel::FieldGridModel(const RecordTables& tables, QObject* parent)
    : QAbstractTableModel(parent), m_tables(tables)
{}

void FieldGridModel::Refresh()
{
    beginResetModel();
    m_rows = m_tables.FieldCount();
    endResetModel();
}

void FieldGridModel::Update()
{
    if (m_tables.FieldCount() != m_rows) {
        Refresh();
        return;
    }
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

int FieldGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_tables.FieldCount();
}

int FieldGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FieldGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    // The grid's columns are the field row's columns in the same order.
    QString text = m_tables.Field(index.row(), index.column());
    if (role == Qt::DisplayRole && index.column() == FieldValue) {
        // One line in the grid; the value box shows the whole text.
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return text;
}

QVariant FieldGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const captions[] = {"DataID", "Field Name", "Field Data (Value)", "FormID"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(captions[section]);
}

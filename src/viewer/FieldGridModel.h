#pragma once

#include <QAbstractTableModel>

class RecordTables;

// The record viewer's field grid: one row per field of the record in
// memory, with the columns "DataID", "Field Name", "Field Data (Value)" and
// "FormID". Read-only; Refresh after the record in memory changed.
class FieldGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DataId = 0, FieldName, FieldValue, FormId, ColumnCount };

    explicit FieldGridModel(const RecordTables& tables, QObject* parent = nullptr);

    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const RecordTables& m_tables;
};

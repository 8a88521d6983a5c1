#pragma once

#include <QAbstractTableModel>

class RecordTables;

// The record viewer's field grid: one row per field of the record in
// memory, with the columns "DataID", "Field Name", "Field Data (Value)" and
// "FormID". Read-only; Refresh or Update after the record in memory changed.
class FieldGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DataId = 0, FieldName, FieldValue, FormId, ColumnCount };

    explicit FieldGridModel(const RecordTables& tables, QObject* parent = nullptr);

    // A new record: the grid starts again.
    void Refresh();
    // The same record changed: a changed value keeps the grid's current row
    // and selection; added or removed rows start it again.
    void Update();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const RecordTables& m_tables;
    int m_rows = 0; // the rows the views were last told of
};

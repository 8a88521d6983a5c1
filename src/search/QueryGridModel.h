#pragma once

#include <QAbstractTableModel>

class QueryBuilderController;

// The Query Builder grid (grdQuery) over the controller's rows: the seven
// shown columns, and one more row below the last where typing or choosing
// adds a row.
class QueryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryGridModel(QueryBuilderController& controller, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_controller(controller)
    {}

    // The rows were replaced (cleared, loaded, deleted): show them again.
    void Reload();
    // The row that adds a row when edited.
    int NewRowIndex() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QueryBuilderController& m_controller;
};

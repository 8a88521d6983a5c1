#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class QueryBuilderController;

// The editors of the Query Builder grid's cells: drop-down lists for Not,
// Field Name, Operator and Connector (a choice is taken at once), the
// field's configured choices for Value where it has some (typing still
// allowed), plain text elsewhere.
class QueryCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    QueryCellDelegate(QueryBuilderController& controller, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), m_controller(controller)
    {}

    // Takes the open editor's text into the grid and closes it.
    void CommitPendingEdit();
    QWidget* OpenEditor() const { return m_editor; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

private:
    QueryBuilderController& m_controller;
    mutable QPointer<QWidget> m_editor;
};

#include "gui/search/QueryCellDelegate.h"

#include "search/QueryBuilderController.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTimer>

namespace {

// The fixed list of a drop-down column; empty for the others.
QStringList ListOf(const QueryBuilderController& controller, int column)
{
    switch (column) {
    case kNotColumn:
        return {QStringLiteral("NOT")};
    case kFieldNameColumn:
        return controller.FieldList();
    case kOperatorColumn:
        return QueryOperators();
    case kConnectorColumn:
        return QueryConnectors();
    default:
        return {};
    }
}

bool IsListColumn(int column)
{
    return column == kNotColumn || column == kFieldNameColumn || column == kOperatorColumn ||
           column == kConnectorColumn;
}

} // namespace

void QueryCellDelegate::CommitPendingEdit()
{
    if (QWidget* editor = m_editor) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QWidget* QueryCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    const int column = index.column();
    QStringList items = ListOf(m_controller, column);
    const bool list = IsListColumn(column);
    if (!list && column == kValueColumn)
        items = m_controller.ValueChoices(index.row());
    if (!list && items.isEmpty()) {
        m_editor = QStyledItemDelegate::createEditor(parent, option, index);
        return m_editor;
    }
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("grdQueryList"));
    combo->addItems(items);
    combo->setEditable(!list); // choices for a value still take typed text
    if (list) {
        // A choice is taken as soon as it is made.
        auto* self = const_cast<QueryCellDelegate*>(this);
        connect(combo, &QComboBox::activated, self, [self, combo] {
            emit self->commitData(combo);
            emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
        });
        QTimer::singleShot(0, combo, [combo] {
            if (combo->isVisible())
                combo->showPopup();
        });
    }
    m_editor = combo;
    return combo;
}

void QueryCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString text = index.data(Qt::EditRole).toString();
    if (combo->isEditable())
        combo->setCurrentText(text);
    else
        combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
}

void QueryCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (!combo->isEditable() && combo->currentIndex() < 0)
        return; // nothing chosen: the cell stays as it was
    if (combo->currentText() != index.data(Qt::EditRole).toString() ||
        index.column() == kFieldNameColumn)
        model->setData(index, combo->currentText(), Qt::EditRole);
}

void QueryCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (m_editor == editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

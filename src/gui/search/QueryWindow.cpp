#include "gui/search/QueryWindow.h"

#include "session/Session.h"
#include "gui/search/QueryCellDelegate.h"
#include "search/QueryGridModel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

QueryWindow::QueryWindow(Session& session, WindowHost& host, std::function<void()> savePending,
                         QWidget* parent)
    : QWidget(parent), m_session(session), m_controller(session),
      m_model(new QueryGridModel(m_controller, this)),
      m_delegate(new QueryCellDelegate(m_controller, this)), m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("frmQuery"));
    setWindowTitle(QStringLiteral("Search - Query Builder"));
    m_controller.SetShell(&host);
    m_controller.SetSavePending(std::move(savePending));

    m_grid->setObjectName(QStringLiteral("grdQuery"));
    m_grid->setAccessibleName(QStringLiteral("Query conditions"));
    m_grid->setAccessibleDescription(
        QStringLiteral("One condition a row: brackets, Not, field, operator, value, And or Or"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(m_delegate);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(kOpenBrackets, 40);
    m_grid->setColumnWidth(kNotColumn, 60);
    m_grid->setColumnWidth(kFieldNameColumn, 180);
    m_grid->setColumnWidth(kOperatorColumn, 80);
    m_grid->setColumnWidth(kValueColumn, 180);
    m_grid->setColumnWidth(kCloseBrackets, 40);
    m_grid->installEventFilter(this);
    connect(m_grid->verticalHeader(), &QHeaderView::sectionClicked, this,
            &QueryWindow::RowMarkersSelected);

    auto* go = Button(this, QStringLiteral("cmdGo"), QStringLiteral("&OK"));
    go->setDefault(true);
    auto* clear = Button(this, QStringLiteral("cmdClear"), QStringLiteral("Clear &Query"));
    auto* load = Button(this, QStringLiteral("cmdLoad"), QStringLiteral("&Load Query"));
    auto* save = Button(this, QStringLiteral("cmdSave"), QStringLiteral("&Save Query"));
    auto* close = Button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"));
    connect(go, &QPushButton::clicked, this, &QueryWindow::cmdGo_Click);
    connect(clear, &QPushButton::clicked, this, &QueryWindow::cmdClear_Click);
    connect(load, &QPushButton::clicked, this, &QueryWindow::cmdLoad_Click);
    connect(save, &QPushButton::clicked, this, &QueryWindow::cmdSave_Click);
    connect(close, &QPushButton::clicked, this, &QueryWindow::cmdClose_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(go);
    buttons->addWidget(clear);
    buttons->addStretch();
    buttons->addWidget(load);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
}

void QueryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Activation is the frame's choosing this child, not every return of
    // focus from a message box.
    auto* child = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!m_watchingActivation && child && child->mdiArea()) {
        m_watchingActivation = true;
        connect(child->mdiArea(), &QMdiArea::subWindowActivated, this,
                [this, child](QMdiSubWindow* active) {
                    if (active == child)
                        Form_Activate();
                });
        if (child->mdiArea()->activeSubWindow() == child)
            Form_Activate();
    }
}

void QueryWindow::Form_Activate()
{
    m_controller.Form_Activate();
}

void QueryWindow::CommitPendingEdit()
{
    m_delegate->CommitPendingEdit();
}

void QueryWindow::cmdGo_Click()
{
    CommitPendingEdit();
    const QueryCheck check = m_controller.cmdGo_Click();
    if (check.rejected && check.row >= 0 && check.column >= 0 &&
        check.column < kShownQueryColumns) {
        m_grid->setCurrentIndex(m_model->index(check.row, check.column));
        m_grid->setFocus();
    }
}

void QueryWindow::cmdClear_Click()
{
    CommitPendingEdit();
    m_controller.cmdClear_Click();
    m_model->Reload();
    m_grid->setCurrentIndex(m_model->index(0, 0));
}

void QueryWindow::cmdLoad_Click()
{
    CommitPendingEdit();
    if (m_controller.cmdLoad_Click())
        m_model->Reload();
}

bool QueryWindow::LoadQueryFile(const QString& path)
{
    CommitPendingEdit();
    if (!m_controller.LoadFile(path))
        return false;
    m_model->Reload();
    return true;
}

void QueryWindow::cmdSave_Click()
{
    CommitPendingEdit();
    m_controller.cmdSave_Click();
}

void QueryWindow::cmdClose_Click()
{
    CommitPendingEdit();
    // The rows stay in the session; the window shows them again when reopened.
    if (auto* child = qobject_cast<QMdiSubWindow*>(parentWidget()))
        child->close();
    else
        close();
}

void QueryWindow::RowMarkersSelected()
{
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    int last = 0;
    for (const QModelIndex& index : rows)
        last = std::max(last, index.row());
    m_grid->selectionModel()->setCurrentIndex(m_model->index(last, 0),
                                              QItemSelectionModel::NoUpdate);
}

void QueryWindow::DeleteSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        if (index.row() < m_model->NewRowIndex())
            rows.append(index.row());
    m_controller.DeleteRows(rows);
    m_model->Reload();
    m_grid->setCurrentIndex(m_model->index(0, 0));
}

bool QueryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_grid || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const QModelIndex current = m_grid->currentIndex();
    if (key->key() == Qt::Key_Delete) {
        if (!m_grid->selectionModel()->selectedRows().isEmpty()) {
            DeleteSelectedRows();
            return true;
        }
        if (current.isValid() && current.column() != kFieldNameColumn &&
            current.row() < m_model->NewRowIndex()) {
            m_model->setData(current, QString());
            return true;
        }
    }
    if (current.column() == kFieldNameColumn && !key->text().isEmpty() &&
        key->text().at(0).isPrint()) {
        // The field is chosen from the list, never typed.
        QApplication::beep();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

#include "gui/search/SummaryWindow.h"

#include "session/Session.h"
#include "search/SummaryColumns.h"
#include "search/SummaryModel.h"
#include "database/SummaryNavigation.h"
#include "search/SummarySearch.h"
#include "search/SummaryView.h"
#include "gui/search/SummaryFilterHeader.h"

#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QIcon>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <unordered_set>

namespace {

// The record number of a possible duplicate carries an icon; its tooltip
// names the record it repeats.
class DuplicateMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.data(SummaryModel::DuplicateOfRole).isValid())
            return;
        option->icon = QIcon::fromTheme(QStringLiteral("edit-duplicate"));
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
};

} // namespace

SummaryWindow::SummaryWindow(Session& session, std::function<void()> viewRecord, QWidget* parent)
    : QWidget(parent), m_session(session), m_controller(session, std::move(viewRecord)),
      m_model(new SummaryModel(session.RegionalSettings, this)), m_grid(new QTableView(this)),
      m_header(new SummaryFilterHeader(m_grid)), m_txtCount(new QLineEdit(this)),
      m_combo(new QComboBox(this)), m_text(new QLineEdit(this)),
      m_lblFind(new QLabel(QStringLiteral("Find SQL string"), this))
{
    setObjectName(QStringLiteral("frmQueryResult"));
    setWindowTitle(QStringLiteral("Summary"));

    auto* caption =
        new QLabel(QStringLiteral("Record Summary -- To view a record, double-click on it"), this);
    caption->setObjectName(QStringLiteral("lblCaption"));
    m_grid->setObjectName(QStringLiteral("resGrid"));
    m_grid->setAccessibleName(QStringLiteral("Record Summary"));
    m_grid->setAccessibleDescription(
        QStringLiteral("The records, one a row; Enter or a double-click views one"));
    m_model->SetUi(&session.ui);
    m_header->setObjectName(QStringLiteral("hdrSummary"));
    m_grid->setHorizontalHeader(m_header);
    m_grid->setModel(m_model);
    m_grid->setItemDelegateForColumn(SummaryModel::RecordId, new DuplicateMarkDelegate(m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    // Uniform rows: the view never asks for rows it does not show.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    // Row headers: click, shift-click and control-click select rows.
    m_grid->verticalHeader()->setSectionsClickable(true);
    m_grid->verticalHeader()->setFixedWidth(16);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    // Widths in characters of the grid's font, so that they grow with it,
    // and never narrower than the heading.
    const int character = m_grid->fontMetrics().averageCharWidth();
    const QList<std::pair<int, int>> widths{{SummaryModel::RecordId, 11},
                                            {SummaryModel::RecordName, 30},
                                            {SummaryModel::Notes, 27},
                                            {SummaryModel::Date, 14}};
    for (const auto& [column, characters] : widths)
        m_grid->setColumnWidth(
            column,
            std::max(characters * character, m_grid->horizontalHeader()->sectionSizeHint(column)));
    connect(m_grid->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            &SummaryWindow::ShowColumnMenu);
    connect(m_header, &QHeaderView::sectionClicked, this, &SummaryWindow::HeadingClicked);
    connect(m_header, &SummaryFilterHeader::FilterEdited, this, &SummaryWindow::FilterEdited);
    // A field column's new width is kept once the user lets go of it.
    auto* widthsLater = new QTimer(this);
    widthsLater->setSingleShot(true);
    widthsLater->setInterval(800);
    connect(widthsLater, &QTimer::timeout, this, &SummaryWindow::SaveFieldWidths);
    connect(m_header, &QHeaderView::sectionResized, this, [this, widthsLater](int column) {
        if (column >= SummaryModel::ColumnCount && !m_following)
            widthsLater->start();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SummaryWindow::CurrentRowChanged);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &SummaryWindow::RowDoubleClicked);

    m_txtCount->setObjectName(QStringLiteral("txtCount"));
    m_txtCount->setReadOnly(true);
    m_txtCount->setMaximumWidth(
        m_txtCount->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    m_txtCount->setText(QStringLiteral("0"));
    auto* countLabel = new QLabel(QStringLiteral("Record(s)"), this);
    countLabel->setBuddy(m_txtCount);

    auto* quickFind = new QGroupBox(QStringLiteral("Quick Find"), this);
    quickFind->setObjectName(QStringLiteral("fraQuickFind"));
    m_combo->setObjectName(QStringLiteral("Combo1"));
    m_combo->setEditable(true);
    // As wide as a field name needs, never wider than the box gives it: a
    // fixed width ran under the LIKE box where the window is narrow (a
    // high scale factor).
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo->setMinimumContentsLength(14);
    m_text->setObjectName(QStringLiteral("Text1"));
    auto* find = new QPushButton(QStringLiteral("&Find"), quickFind);
    find->setObjectName(QStringLiteral("cmdFind_0"));
    auto* clear = new QPushButton(QStringLiteral("&Clear Search"), quickFind);
    clear->setObjectName(QStringLiteral("cmdFind_1"));
    auto* duplicates = new QPushButton(QStringLiteral("D&uplicates"), quickFind);
    duplicates->setObjectName(QStringLiteral("cmdFind_2"));
    duplicates->setToolTip(QStringLiteral(
        "Show the records marked as possible duplicates and the records they repeat"));
    m_lblFind->setObjectName(QStringLiteral("lblFind"));
    m_lblFind->setVisible(false);
    auto* findLayout = new QGridLayout(quickFind);
    // Each label names its box to a screen reader.
    auto* fieldLabel = new QLabel(QStringLiteral("Select Field Name"), quickFind);
    fieldLabel->setBuddy(m_combo);
    auto* likeLabel = new QLabel(QStringLiteral("LIKE (value)"), quickFind);
    likeLabel->setBuddy(m_text);
    findLayout->addWidget(fieldLabel, 0, 0);
    findLayout->addWidget(likeLabel, 0, 1);
    findLayout->addWidget(m_combo, 1, 0);
    findLayout->addWidget(m_text, 1, 1);
    findLayout->addWidget(find, 1, 2);
    findLayout->addWidget(clear, 1, 3);
    findLayout->addWidget(duplicates, 1, 4);
    findLayout->addWidget(m_lblFind, 2, 0, 1, 5);
    findLayout->setColumnStretch(0, 1);
    findLayout->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(quickFind, 1);
    bottom->addWidget(m_txtCount, 0, Qt::AlignBottom);
    bottom->addWidget(countLabel, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    QString error;
    const QList<bool> visible = SummaryColumns::LoadVisibility(
        m_session.Folders, SummaryColumns::InitialVisibility(), &error);
    for (int c = 0; c < visible.size(); ++c)
        SetColumnVisible(c, visible[c]);
    if (!error.isEmpty())
        QTimer::singleShot(
            0, this, [this, error] { m_session.ui.MessageBox(error, MessageIcon::Exclamation); });

    SessionEvents& events = m_session.Events;
    connect(&events, &SessionEvents::SummaryReloaded, this, &SummaryWindow::Reload);
    connect(&events, &SessionEvents::SummaryCurrentRowChanged, this,
            &SummaryWindow::FollowCurrentRecord);
    connect(&events, &SessionEvents::DatabaseOpened, this,
            [this](const QString& path) { setWindowTitle(QStringLiteral("Summary ") + path); });
    connect(&events, &SessionEvents::FieldNamesChanged, this, &SummaryWindow::FillQuickFindCombo);

    // Typing in the field list completes the first entry that begins with
    // the text typed, in any letter case.
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->completer()->setCompletionMode(QCompleter::InlineCompletion);
    m_combo->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    connect(m_combo, &QComboBox::activated, this, [this] {
        m_lblFind->clear();
        m_text->clear();
    });
    connect(find, &QPushButton::clicked, this, [this] { cmdFind_Click(0); });
    connect(clear, &QPushButton::clicked, this, [this] { cmdFind_Click(1); });
    connect(duplicates, &QPushButton::clicked, this, [this] { cmdFind_Click(2); });
    connect(m_text, &QLineEdit::returnPressed, this, [this] { cmdFind_Click(0); });
    if (m_session.Database.CurrentDatabase) {
        Reload(m_session.Database.SummaryRecords.Count());
        FillQuickFindCombo();
    }
    m_model->SetCaptions(m_session.Config.SummaryCaptions);
}

SummaryWindow::~SummaryWindow() = default;

void SummaryWindow::Reload(int count)
{
    DatabaseState& d = m_session.Database;
    m_following = true;
    m_model->SetFieldColumns(d.SummaryView.FieldColumns);
    m_model->SetSource(d.CurrentDatabase ? &d.CurrentDatabase->Db() : nullptr,
                       &d.SummaryRecords.Ids());
    ShowView();
    m_following = false;
    m_txtCount->setText(QString::number(count));
    if (const auto current = d.SummaryRecords.Bookmark())
        FollowCurrentRecord(*current);
    m_controller.Reloaded();
}

void SummaryWindow::ShowView()
{
    const SummaryViewState& view = m_session.Database.SummaryView;
    // The style's own arrow is not drawn by every style: the caption
    // carries one too.
    m_model->SetSortMark(view.SortColumn, view.SortDescending);
    if (view.SortColumn >= 0)
        m_header->setSortIndicator(view.SortColumn,
                                   view.SortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    else
        m_header->setSortIndicator(-1, Qt::AscendingOrder);
    m_header->SetFilterTexts(m_model->columnCount(), view.Filters);
    if (view.Filters.isEmpty())
        m_header->MarkInvalid(-1, QString());
    if (m_shownFields != view.FieldColumns) {
        m_shownFields = view.FieldColumns;
        const int character = m_grid->fontMetrics().averageCharWidth();
        for (int i = 0; i < view.FieldColumns.size(); ++i) {
            const int width = view.FieldWidths.value(i);
            m_grid->setColumnWidth(SummaryModel::ColumnCount + i,
                                   width > 0 ? width : 16 * character);
        }
    }
}

void SummaryWindow::HeadingClicked(int column)
{
    SortSummaryByHeading(m_session, column);
}

void SummaryWindow::FilterEdited(int column, const QString& text)
{
    QList<SummaryFilterFault> faults;
    FilterSummary(m_session, column, text, &faults);
    m_header->MarkInvalid(-1, QString());
    for (const SummaryFilterFault& fault : faults)
        m_header->MarkInvalid(fault.column, fault.message);
}

void SummaryWindow::SaveFieldWidths()
{
    QList<int> widths;
    for (int i = 0; i < m_shownFields.size(); ++i)
        widths.append(m_grid->columnWidth(SummaryModel::ColumnCount + i));
    if (m_shownFields == m_session.Database.SummaryView.FieldColumns)
        SaveSummaryFieldWidths(m_session, widths);
}

void SummaryWindow::ApplyConfiguration()
{
    m_model->SetCaptions(m_session.Config.SummaryCaptions);
    FillQuickFindCombo();
}

void SummaryWindow::FillQuickFindCombo()
{
    ::FillQuickFindCombo(m_session);
    const SearchState& st = m_session.Search;
    m_combo->clear();
    for (const QuickFindEntry& entry : st.QuickFindEntries)
        m_combo->addItem(entry.text, entry.itemNumber);
    m_combo->setCurrentIndex(st.QuickFindSelected);
}

void SummaryWindow::cmdFind_Click(int index)
{
    // An entry typed in full counts as chosen.
    const int found = m_combo->findText(m_combo->currentText(), Qt::MatchFixedString);
    const int entry = found >= 0 ? found : m_combo->currentIndex();
    if (index == 0)
        QuickFindSearch(m_session, entry, m_text->text());
    else if (index == 2)
        FindPossibleDuplicates(m_session);
    else
        ClearSearch(m_session, entry, m_text->text());
    m_lblFind->setText(m_session.Search.lblFind);
}

void SummaryWindow::FollowCurrentRecord(qint64 formId)
{
    const int row = m_model->RowOf(formId);
    if (row < 0 || m_grid->currentIndex().row() == row)
        return;
    m_following = true;
    const QModelIndex index =
        m_model->index(row, m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() : 0);
    m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_grid->scrollTo(index);
    m_following = false;
}

void SummaryWindow::CurrentRowChanged(const QModelIndex& current)
{
    if (m_following || !current.isValid() || !isEnabled())
        return;
    SummaryRowChosen(m_session, m_model->FormIdAt(current.row()));
}

void SummaryWindow::Command1_Click(Navigation index)
{
    ::Command1_Click(m_session, index);
}

void SummaryWindow::RowDoubleClicked()
{
    // As View record: the record through the view template in the output viewer.
    m_controller.RowDoubleClicked();
}

QList<qint64> SummaryWindow::SelectedRecords() const
{
    QList<qint64> ids;
    QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows)
        ids.append(m_model->FormIdAt(row.row()));
    return ids;
}

std::vector<qint64> SummaryWindow::SelectedRecordsInSelectionOrder() const
{
    // The selection's ranges are kept in the order they were made.
    // A row in two ranges counts once, where it was first selected; a set,
    // because a selection of every row of a million must not take forever.
    std::vector<qint64> ids;
    std::unordered_set<int> taken;
    for (const QItemSelectionRange& range : m_grid->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (taken.insert(row).second)
                ids.push_back(m_model->FormIdAt(row));
        }
    }
    return ids;
}

void SummaryWindow::SetColumnVisible(int column, bool visible)
{
    m_grid->setColumnHidden(column, !visible);
}

bool SummaryWindow::IsColumnVisible(int column) const
{
    return !m_grid->isColumnHidden(column);
}

void SummaryWindow::ShowColumnMenu(const QPoint& at)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuColumns"));
    for (int c = 0; c < SummaryModel::ColumnCount; ++c) {
        QAction* action = menu.addAction(m_model->headerData(c, Qt::Horizontal).toString());
        action->setCheckable(true);
        action->setChecked(IsColumnVisible(c));
        connect(action, &QAction::toggled, this, [this, c](bool on) { SetColumnVisible(c, on); });
    }
    menu.exec(m_grid->horizontalHeader()->mapToGlobal(at));
}

bool SummaryWindow::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        m_controller.Activated();
    return QWidget::event(e);
}

void SummaryWindow::closeEvent(QCloseEvent* event)
{
    QList<bool> visible;
    for (int c = 0; c < SummaryModel::ColumnCount; ++c)
        visible.append(IsColumnVisible(c));
    QString error;
    if (!SummaryColumns::SaveVisibility(m_session.Folders, visible, &error))
        m_session.ui.MessageBox(error, MessageIcon::Exclamation);
    SaveFieldWidths();
    m_model->SetSource(nullptr, nullptr);
    // The summary goes with the database: closing it closes the viewer.
    emit m_session.Events.ViewerMustClose();
    event->accept();
}

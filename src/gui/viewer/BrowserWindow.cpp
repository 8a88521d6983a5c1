#include "gui/viewer/BrowserWindow.h"

#include "session/Session.h"
#include "database/SummaryNavigation.h"
#include "platform/ErrorText.h"
#include "viewer/FieldGridModel.h"

#include <functional>

#include <QCloseEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QFont FixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// A configured label: red, or the normal button-text colour.
void ShowLabel(QLabel* label, const ViewerLabel& shown)
{
    label->setText(shown.text);
    if (!shown.red)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     *shown.red ? QColor(255, 0, 0) : palette.color(QPalette::ButtonText));
    label->setPalette(palette);
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

BrowserWindow::BrowserWindow(Session& session, RecordViewerController& viewer, QWidget* parent)
    : QWidget(parent), m_session(session), m_viewer(viewer),
      m_model(new FieldGridModel(session.Tables, this))
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Record Viewer"));

    auto* header = new QWidget(this);
    BuildHeader(header);

    auto* fields = new QWidget(this);
    auto* gridCaption = new QLabel(
        QStringLiteral("Editing Record Data -- only Field Values can be edited"), fields);
    gridCaption->setObjectName(QStringLiteral("lblGridCaption"));
    // Captions wrap rather than lose their end where the window is narrow
    // (a high scale factor, a large font).
    gridCaption->setWordWrap(true);
    m_grid = new QTableView(fields);
    m_grid->setObjectName(QStringLiteral("grdTable"));
    m_grid->setAccessibleName(QStringLiteral("Record data"));
    m_grid->setAccessibleDescription(gridCaption->text());
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    // The values are what the grid is for: the numbers keep to their width
    // and the value column takes the room left.
    QHeaderView* columns = m_grid->horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(FieldGridModel::DataId, QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(FieldGridModel::FormId, QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(FieldGridModel::FieldValue, QHeaderView::Stretch);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BrowserWindow::FitFieldNames);
    m_grid->setColumnHidden(FieldGridModel::FormId, false);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &BrowserWindow::ShowCurrentValue);

    auto* valueLabel = new QLabel(
        QStringLiteral("Field Editor: multiline fields can be edited here ----------->"), fields);
    valueLabel->setObjectName(QStringLiteral("Label1"));
    valueLabel->setWordWrap(true);
    m_txtViewer = new QPlainTextEdit(fields);
    m_txtViewer->setObjectName(QStringLiteral("txtViewer"));
    m_txtViewer->setAccessibleName(QStringLiteral("Field editor"));
    m_txtViewer->setAccessibleDescription(
        QStringLiteral("The current field's value, all its lines"));
    m_txtViewer->setFont(FixedPitchFont());
    m_editorBoxes.append(m_txtViewer);
    connect(m_txtViewer, &QPlainTextEdit::textChanged, this, [this] {
        // Only what the user types, never the program filling the box.
        if (!m_fillingValue && m_txtViewer->hasFocus() && !m_txtViewer->isReadOnly())
            m_viewer.ValueEdited(m_grid->currentIndex().row(), m_txtViewer->toPlainText());
    });

    auto* fieldsLayout = new QGridLayout(fields);
    fieldsLayout->setContentsMargins(0, 0, 0, 0);
    fieldsLayout->addWidget(gridCaption, 0, 0);
    fieldsLayout->addWidget(m_grid, 1, 0, 2, 1);
    fieldsLayout->addWidget(valueLabel, 0, 1);
    fieldsLayout->addWidget(m_txtViewer, 1, 1, 2, 1);
    fieldsLayout->setColumnStretch(0, 3);
    fieldsLayout->setColumnStretch(1, 2);

    // The header and the editing panel keep their height; the field grid
    // takes whatever the window has left.
    QWidget* panel = BuildEditingPanel();
    header->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 3 +
                             m_grid->horizontalHeader()->sizeHint().height() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(header);
    layout->addWidget(fields, 1);
    layout->addWidget(panel);

    ApplyConfiguration();
    LockText(true, true);
    for (const char* name : {"cmdSave", "cmdInsertEntry", "cmdAddNew", "cmdRemove", "cmdOK"})
        for (QWidget* w : findChildren<QWidget*>(QString::fromLatin1(name)))
            w->setEnabled(false);

    SessionEvents& events = m_session.Events;
    connect(&events, &SessionEvents::RecordLoaded, this, [this] { m_viewer.RecordLoaded(); });
    connect(&events, &SessionEvents::DisplayCleared, this, &BrowserWindow::ClearDisplay);
    connect(&events, &SessionEvents::ValueBoxEnabled, m_txtViewer, &QWidget::setEnabled);
    connect(&events, &SessionEvents::DatabaseOpened, this, [this](const QString& path) {
        setWindowTitle(QStringLiteral("Record Viewer ") + path);
    });
    connect(&events, &SessionEvents::ViewerMustClose, this, [this] {
        if (parentWidget())
            parentWidget()->close();
        else
            close();
    });
    m_viewer.SetView(this);
    m_viewer.RecordLoaded();
}

BrowserWindow::~BrowserWindow()
{
    if (m_viewer.View() == this)
        m_viewer.SetView(nullptr);
}

void BrowserWindow::Command1_Click(Navigation index)
{
    m_viewer.Command1_Click(index);
}

void BrowserWindow::BuildHeader(QWidget* parent)
{
    new QGridLayout(parent); // filled by ApplyConfiguration
    for (int i = 0; i < ViewerLayout::kHeaderItems; ++i) {
        m_lblResume[static_cast<size_t>(i)] = new QLabel(parent);
        m_lblResume[static_cast<size_t>(i)]->setObjectName(QStringLiteral("lblResume_%1").arg(i));
        auto* box = new QLineEdit(parent);
        box->setObjectName(QStringLiteral("txtResume_%1").arg(i));
        box->setFont(FixedPitchFont());
        // The header item this box shows.
        box->setProperty("tag", i);
        m_txtResume[static_cast<size_t>(i)] = box;
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { m_viewer.HeaderEdited(i, text); });
        m_lblResume[static_cast<size_t>(i)]->setBuddy(box);
    }
}

QWidget* BrowserWindow::BuildEditingPanel()
{
    auto* panel = new QWidget(this);
    m_panelTitle = new QLabel(panel);
    m_panelTitle->setObjectName(QStringLiteral("lblResume_Panel"));
    m_panelTitle->setText(
        QStringLiteral("--------------------------------------- Editing Form Data "
                       "---------------------------------------"));
    auto* listLabel = new QLabel(
        QStringLiteral("List of Fields (Click on any field to select it for editing)"), panel);
    listLabel->setObjectName(QStringLiteral("lblGrid"));
    listLabel->setWordWrap(true);
    auto* list = new QListWidget(panel);
    list->setObjectName(QStringLiteral("lstGrid_0"));
    list->setMaximumHeight(list->fontMetrics().height() * 5);
    list->setAccessibleName(QStringLiteral("List of fields"));
    list->setAccessibleDescription(listLabel->text());
    m_lstGrid = list;
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showingList && row >= 0)
            m_viewer.SelectLine(row);
    });

    auto* editors = new QGridLayout;
    const char* captions[] = {"Field Name", "Field data"};
    for (int r = 0; r < 2; ++r) {
        auto* label = new QLabel(QString::fromLatin1(captions[r]), panel);
        label->setObjectName(QStringLiteral("lblGrid0_%1").arg(r));
        auto* box = new QLineEdit(panel);
        box->setObjectName(QStringLiteral("txtData_%1").arg(r));
        label->setBuddy(box);
        box->setProperty("tag", r + 1); // the field-row column it edits
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this,
                [this, r](const QString& text) { m_viewer.EditorEdited(r, text); });
        editors->addWidget(label, r, 0);
        editors->addWidget(box, r, 1);
        m_editorBoxes.append(box);
        m_txtData[static_cast<size_t>(r)] = box;
    }
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, const char*> panelButtons[] = {
        {"cmdSave", "Save   >"},         {"cmdInsertEntry", "&Insert Field"},
        {"cmdMoveUp", "Move &Up"},       {"cmdMoveDown", "Move &Down"},
        {"cmdAddNew", "&Add New Field"}, {"cmdRemove", "De&lete Field"}};
    const std::function<void()> actions[] = {
        [this] { m_viewer.SaveEntry(); },   [this] { m_viewer.InsertField(); },
        [this] { m_viewer.MoveUp(); },      [this] { m_viewer.MoveDown(); },
        [this] { m_viewer.AddNewField(); }, [this] { m_viewer.DeleteField(); }};
    for (size_t b = 0; b < std::size(panelButtons); ++b) {
        QPushButton* button = Button(panelButtons[b].first, panelButtons[b].second, panel);
        connect(button, &QPushButton::clicked, this, actions[b]);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    QPushButton* ok = Button("cmdOK", "&OK", panel);
    connect(ok, &QPushButton::clicked, this, [this] { m_viewer.OK(); });
    buttons->addWidget(ok);
    QPushButton* done = Button("cmdCancel", "&Done [Esc]", panel);
    done->setShortcut(Qt::Key_Escape);
    buttons->addWidget(done);
    connect(done, &QPushButton::clicked, this, [this] { m_viewer.Done(); });

    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panelTitle, 0, 0, 1, 2, Qt::AlignHCenter);
    layout->addWidget(listLabel, 1, 0);
    layout->addWidget(list, 2, 0);
    layout->addLayout(editors, 2, 1, Qt::AlignTop);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    return panel;
}

void BrowserWindow::ApplyConfiguration()
{
    auto* layout = static_cast<QGridLayout*>(m_txtResume[0]->parentWidget()->layout());
    int place = 0;
    for (int i = 0; i < ViewerLayout::kHeaderItems; ++i) {
        QLabel* label = m_lblResume[static_cast<size_t>(i)];
        QLineEdit* box = m_txtResume[static_cast<size_t>(i)];
        layout->removeWidget(label);
        layout->removeWidget(box);
        const HeaderItemLabel item = m_viewer.HeaderLabel(i);
        label->setVisible(item.shown);
        box->setVisible(item.shown);
        if (!item.shown)
            continue;
        if (item.label)
            ShowLabel(label, *item.label);
        // Two boxes per line: record number and name, then the others.
        layout->addWidget(label, place / 2, (place % 2) * 2);
        layout->addWidget(box, place / 2, (place % 2) * 2 + 1);
        ++place;
    }
    if (const std::optional<ViewerLabel> title = m_viewer.PanelTitle())
        ShowLabel(m_panelTitle, *title);
    for (int r = 0; r < RecordViewerController::kEditorBoxes; ++r) {
        auto* label = findChild<QLabel*>(QStringLiteral("lblGrid0_%1").arg(r));
        if (const std::optional<ViewerLabel> text = m_viewer.EditorLabel(r); label && text)
            ShowLabel(label, *text);
    }
}

void BrowserWindow::ShowHeaderBox(int box, const QString& text)
{
    QLineEdit* line = m_txtResume[static_cast<size_t>(box)];
    line->setText(text);
    // The beginning of a long text is what tells the record.
    line->setCursorPosition(0);
}

void BrowserWindow::LockText(bool lockHeader, bool lockFields)
{
    m_txtResume[0]->setReadOnly(true);
    for (int i = 1; i < ViewerLayout::kHeaderItems; ++i)
        m_txtResume[static_cast<size_t>(i)]->setReadOnly(lockHeader);
    m_txtViewer->setReadOnly(lockFields);
    for (QWidget* box : m_editorBoxes)
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->setReadOnly(lockFields);
}

void BrowserWindow::ShowLoadedRecord()
{
    m_model->Refresh();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    ShowCurrentValue();
}

QString BrowserWindow::HeaderBoxText(int box) const
{
    return m_txtResume[static_cast<size_t>(box)]->text();
}

void BrowserWindow::ShowFieldList(const QStringList& lines, int selected)
{
    m_showingList = true;
    if (m_lstGrid->count() != lines.size()) {
        m_lstGrid->clear();
        m_lstGrid->addItems(lines);
    } else {
        for (int i = 0; i < lines.size(); ++i)
            if (m_lstGrid->item(i)->text() != lines[i])
                m_lstGrid->item(i)->setText(lines[i]);
    }
    m_lstGrid->setCurrentRow(selected);
    m_showingList = false;
}

void BrowserWindow::ShowEditorBox(int box, const QString& text)
{
    QLineEdit* editor = m_txtData[static_cast<size_t>(box)];
    if (editor->text() != text) {
        editor->setText(text);
        editor->setCursorPosition(0);
    }
}

void BrowserWindow::FocusEditorBox(int box)
{
    m_txtData[static_cast<size_t>(box)]->setFocus(Qt::OtherFocusReason);
    m_txtData[static_cast<size_t>(box)]->selectAll();
}

void BrowserWindow::FocusHeaderBox(int box)
{
    m_txtResume[static_cast<size_t>(box)]->setFocus(Qt::OtherFocusReason);
    m_txtResume[static_cast<size_t>(box)]->selectAll();
}

void BrowserWindow::RefreshFieldGrid()
{
    // A value typed in the value box keeps the grid's row and the box as
    // the user is typing it; only added or removed fields start the grid again.
    const int row = m_grid->currentIndex().row();
    m_model->Update();
    if (!m_grid->currentIndex().isValid()) {
        if (row >= 0 && row < m_model->rowCount())
            m_grid->selectRow(row);
        else if (m_model->rowCount() > 0)
            m_grid->selectRow(0);
    }
    if (!m_txtViewer->hasFocus())
        ShowCurrentValue();
    m_txtViewer->setEnabled(m_model->rowCount() > 0);
}

bool BrowserWindow::eventFilter(QObject* watched, QEvent* e)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && e->type() == QEvent::FocusIn) {
        // A box selects its whole text when it gets the focus.
        QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (box && e->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        // A message box or another window taking the focus is not leaving the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            BoxLeft(box);
    }
    return QWidget::eventFilter(watched, e);
}

void BrowserWindow::BoxLeft(QLineEdit* box)
{
    if (m_checking || m_closing)
        return;
    m_checking = true;
    for (int i = 1; i < ViewerLayout::kHeaderItems; ++i)
        if (box == m_txtResume[static_cast<size_t>(i)])
            m_viewer.HeaderLeft(i, box->text());
    for (int i = 0; i < RecordViewerController::kEditorBoxes; ++i)
        if (box == m_txtData[static_cast<size_t>(i)])
            m_viewer.EditorLeft(i, box->text());
    m_checking = false;
}

void BrowserWindow::ClearDisplay()
{
    for (QLineEdit* box : m_txtResume)
        box->clear();
    m_txtViewer->clear();
    for (QWidget* box : m_editorBoxes)
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->clear();
    m_lstGrid->clear();
}

void BrowserWindow::FitFieldNames()
{
    // Long names are cut rather than crowd out the values; the user can
    // still widen the column.
    m_grid->resizeColumnToContents(FieldGridModel::FieldName);
    // Never narrower than the heading, though.
    m_grid->setColumnWidth(
        FieldGridModel::FieldName,
        std::max(m_grid->horizontalHeader()->sectionSizeHint(FieldGridModel::FieldName),
                 std::min(m_grid->columnWidth(FieldGridModel::FieldName),
                          m_grid->viewport()->width() / 4)));
}

void BrowserWindow::ShowCurrentValue()
{
    const QModelIndex current = m_grid->currentIndex();
    const QScopedValueRollback filling(m_fillingValue, true);
    m_txtViewer->setPlainText(
        current.isValid() ? m_session.Tables.Field(current.row(), RecordTables::FieldValueColumn)
                                .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                          : QString());
}

bool BrowserWindow::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !m_closing)
        m_viewer.Activated();
    return QWidget::event(e);
}

void BrowserWindow::closeEvent(QCloseEvent* event)
{
    // A header changed on screen is stored; a new or edited record is asked about.
    if (!m_closing && !m_viewer.StoreUnsavedRecord()) {
        event->ignore();
        return;
    }
    m_closing = true;
    // Each step is attempted whatever happened in the one before.
    ClearDisplay();
    emit Closed();
    m_model->Refresh();
    event->accept();
}

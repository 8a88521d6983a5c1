#include "viewer/RecordViewerController.h"

#include "session/ActivationStatus.h"
#include "session/Session.h"
#include "session/RecordChooser.h"
#include "config/FieldRules.h"
#include "database/RecordDeletion.h"
#include "database/DatabaseOpening.h"
#include "database/RecordReader.h"
#include "database/RecordWriter.h"
#include "database/SummaryNavigation.h"
#include "database/UnsavedRecord.h"
#include "platform/ErrorText.h"

#include <exception>

namespace {

using R = RecordTables;

constexpr int kModeBits = DatabaseState::NewRecord | DatabaseState::EditRecord | 4;

QString WithoutLineBreaks(QString text)
{
    return text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

QString HeaderTag(int box)
{
    return QString::number(box);
}
QString EditorTag(int box)
{
    return QStringLiteral("G0.") + QString::number(box);
}

// Sets SuppressChangeEvents while the program fills boxes.
class Suppress {
public:
    explicit Suppress(DatabaseState& d) : m_d(d), m_before(d.SuppressChangeEvents)
    {
        d.SuppressChangeEvents = true;
    }
    ~Suppress() { m_d.SuppressChangeEvents = m_before; }

private:
    DatabaseState& m_d;
    bool m_before;
};

} // namespace

const QString RecordViewerController::kNewEntryPrompt = QStringLiteral("Enter New Entry Here");
const QString RecordViewerController::kNewEntryLine = QStringLiteral("New Entry");

void RecordViewerController::Command1_Click(Code code)
{
    switch (code) {
    case New:
        NewRecord();
        break;
    case Edit:
        EditRecord();
        break;
    case Delete:
        if (m_shell) {
            HostRecordChooser chooser(*m_shell);
            DeleteResumes(m_session, chooser);
        }
        break;
    case Save:
        SaveRecord();
        break;
    case Cancel:
        CancelChanges();
        break;
    case QueryBuilder:
        if (m_shell)
            m_shell->ShowQueryBuilder();
        break;
    default:
        break; // not carried out here: its controls are disabled
    }
}

void RecordViewerController::Command1_Click(Navigation move)
{
    ::Command1_Click(m_session, move);
}

bool RecordViewerController::Editing() const
{
    return (m_session.Database.RecordState &
            (DatabaseState::NewRecord | DatabaseState::EditRecord)) != 0;
}

void RecordViewerController::LockEditButtons(bool lock)
{
    if (m_lockButtons)
        m_lockButtons(lock);
}

void RecordViewerController::LockText(bool lock)
{
    if (m_view)
        m_view->LockText(lock, lock);
}

void RecordViewerController::NewRecord()
{
    DatabaseState& d = m_session.Database;
    // The record on screen is left: its unsaved changes are stored or asked about.
    if (!::StoreUnsavedRecord(m_session))
        return;
    if (m_shell)
        m_shell->BringToFront(ChildKind::Viewer);
    LockEditButtons(false);
    d.RecordState |= DatabaseState::NewRecord;
    QString error;
    if (!NewResume(m_session, &error))
        m_session.ui.MessageBox(QStringLiteral("Error creating new Record: ") + error,
                                MessageIcon::Exclamation);
    LockText(false);
    m_session.ui.SetStatusText(QStringLiteral("Entering New Record"));
}

void RecordViewerController::EditRecord()
{
    if (m_shell)
        m_shell->BringToFront(ChildKind::Viewer);
    LockText(false);
    LockEditButtons(false);
    m_session.Database.RecordState |= DatabaseState::EditRecord;
    m_session.ui.SetStatusText(QStringLiteral("Editing Record"));
}

bool RecordViewerController::UpdateArrays(QString* error)
{
    if (!m_view)
        return true;
    RecordTables& t = m_session.Tables;
    try {
        t.PutArrayElement(R::kHeaderTable, R::FormIdColumn, m_view->HeaderBoxText(0));
        for (int box = 1; box < ViewerLayout::kHeaderItems; ++box) {
            const qint16 column = m_session.Config.HeaderItemColumn[static_cast<size_t>(box)];
            if (column != FormConfig::kNoColumn)
                t.PutArrayElement(R::kHeaderTable, column, m_view->HeaderBoxText(box));
        }
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = ErrorText(e);
        return false;
    }
}

bool RecordViewerController::CheckBeforeSave()
{
    // At save time the required fields are checked too; a warning lets
    // the save go on, a text that does not fit its rule stops it.
    if (!m_view)
        return true;
    for (int box = 1; box < ViewerLayout::kHeaderItems; ++box) {
        if (m_session.Config.HeaderItemEntry[static_cast<size_t>(box)] == FormConfig::kNoEntry)
            continue;
        if (!CheckField(m_session, HeaderTag(box), m_view->HeaderBoxText(box), true)) {
            m_view->FocusHeaderBox(box);
            return false;
        }
    }
    return true;
}

bool RecordViewerController::SaveRecord()
{
    DatabaseState& d = m_session.Database;
    if (!Editing() || !CheckBeforeSave())
        return false;
    LockText(true);
    QString error;
    if (!UpdateArrays(&error))
        m_session.ui.MessageBox(QStringLiteral("Error Updating Arrays: ") + error,
                                MessageIcon::Exclamation);
    const bool isNew = (d.RecordState & DatabaseState::EditRecord) == 0;
    // A record being stored does not count as pending when the summary
    // shows a record again while it is written.
    const bool unchangedBefore = d.RecordUnchanged;
    d.RecordUnchanged = true;
    if (!WriteResumes(m_session, 1)) {
        // Nothing of the record was written: the user keeps everything typed.
        d.RecordUnchanged = unchangedBefore;
        LockText(false);
        return false;
    }
    d.RecordState &= ~(kModeBits | DatabaseState::NoRecords);
    m_session.ui.SetStatusText(QStringLiteral("Record Saved"));
    LockEditButtons(true);
    if (isNew) {
        const qint64 formId = m_session.Tables.Header(R::FormIdColumn).toLongLong();
        if (d.SummaryFiltered)
            emit m_session.Events.SummaryReloaded(d.SummaryRecords.Count());
        else
            ReloadSummary(m_session, formId);
    }
    {
        Suppress suppress(d);
        UpdateResumeDisplay();
    }
    return true;
}

void RecordViewerController::CancelChanges()
{
    DatabaseState& d = m_session.Database;
    if (m_session.ui.MessageBox(
            QStringLiteral("Are you sure you want to cancel the changes made to this Record?"),
            MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    d.RecordState &= ~kModeBits;
    LockText(true);
    LockEditButtons(true);
    if (!(d.RecordState & DatabaseState::NoRecords)) {
        m_keepLocked = true;
        const bool read = ReadResumes(m_session);
        m_keepLocked = false;
        d.RecordUnchanged = true;
        Suppress suppress(d);
        if (read && m_view && !UpdateResumeDisplay())
            m_session.ui.MessageBox(QStringLiteral("Error Displaying Data: ") +
                                        QStringLiteral("the record could not be shown"),
                                    MessageIcon::Exclamation);
    }
    m_session.ui.SetStatusText(QStringLiteral("Changes Cancelled"));
}

void RecordViewerController::OK()
{
    if (SaveRecord() && m_shell)
        m_shell->BringToFront(ChildKind::Summary);
}

void RecordViewerController::Done()
{
    OpenResume(m_session);
    if (m_shell)
        m_shell->BringToFront(ChildKind::Summary);
}

void RecordViewerController::RecordLoaded()
{
    if (m_view) {
        Suppress suppress(m_session.Database);
        m_view->ShowLoadedRecord();
        UpdateResumeDisplay();
    }
    const RecordTables& t = m_session.Tables;
    m_lines.clear();
    for (int row = 0; row < t.FieldCount(); ++row)
        m_lines.append(WithoutLineBreaks(t.Field(row, R::FieldNameColumn)));
    m_lines.append(QString());
    m_sectionUnchanged = true;
    SelectLine(0);
    // Shown records can take notes at once; an empty database cannot. The
    // fields take typing only while the record is entered or edited.
    const bool record = !t.Header(R::FormIdColumn).trimmed().isEmpty();
    if (m_view)
        m_view->LockText(m_keepLocked || !(record || Editing()), m_keepLocked || !Editing());
    LockEditButtons(!Editing());
}

bool RecordViewerController::UpdateResumeDisplay()
{
    if (!m_view)
        return true;
    const RecordTables& t = m_session.Tables;
    try {
        m_view->ShowHeaderBox(0, t.GetArrayElement(R::kHeaderTable, R::FormIdColumn));
        for (int box = 1; box < ViewerLayout::kHeaderItems; ++box) {
            const qint16 column = m_session.Config.HeaderItemColumn[static_cast<size_t>(box)];
            m_view->ShowHeaderBox(box, column == FormConfig::kNoColumn
                                           ? QString()
                                           : t.GetArrayElement(R::kHeaderTable, column));
        }
        return true;
    } catch (const std::exception& e) {
        m_session.ui.MessageBox(ErrorText(e) +
                                    QStringLiteral("\r\nUpdateRecordDisplay: Program error"),
                                MessageIcon::Exclamation);
        return false;
    }
}

void RecordViewerController::Activated()
{
    ShowActivationStatus(m_session.ui, ChildKind::Viewer);
}

std::optional<ViewerLabel> RecordViewerController::ConfiguredLabel(qint16 entry)
{
    FormConfig& config = m_session.Config;
    if (entry == FormConfig::kNoEntry || !ParseConfig(config, entry))
        return std::nullopt;
    return ViewerLabel{config.ParsedEntry.EntryLabel, config.ParsedEntry.LabelStyle == 0};
}

HeaderItemLabel RecordViewerController::HeaderLabel(int item)
{
    const qint16 entry = m_session.Config.HeaderItemEntry[static_cast<size_t>(item)];
    if (item != 0 && entry == FormConfig::kNoEntry)
        return {};
    std::optional<ViewerLabel> label = ConfiguredLabel(entry);
    if (!label && item == 0)
        label = ViewerLabel{QStringLiteral("Record ID"), std::nullopt};
    return {true, label};
}

std::optional<ViewerLabel> RecordViewerController::PanelTitle()
{
    return ConfiguredLabel(m_session.Config.FrameEntry[0]);
}

std::optional<ViewerLabel> RecordViewerController::EditorLabel(int box)
{
    return ConfiguredLabel(m_session.Config.GridEntry[0][static_cast<size_t>(box)]);
}

void RecordViewerController::ShowFieldList()
{
    if (m_view)
        m_view->ShowFieldList(m_lines, m_selected);
}

void RecordViewerController::FillEditorBoxes()
{
    if (!m_view)
        return;
    const RecordTables& t = m_session.Tables;
    const bool stored = m_selected < t.FieldCount();
    for (int box = 0; box < kEditorBoxes; ++box)
        m_view->ShowEditorBox(box, stored ? t.Field(m_selected, box + 1) : QString());
    if (IsBlankLine(m_selected) || m_lines[m_selected] == kNewEntryLine)
        m_view->ShowEditorBox(0, kNewEntryPrompt);
}

void RecordViewerController::SelectLine(int line)
{
    if (line < 0 || line >= m_lines.size())
        return;
    Suppress suppress(m_session.Database);
    m_selected = line;
    m_session.Tables.CurrentRow[R::kFieldTable] = static_cast<qint16>(line);
    ShowFieldList();
    FillEditorBoxes();
}

void RecordViewerController::StoreEditorBox(int box, const QString& text)
{
    // The prompt on a new line is the program's, not the user's.
    if (box == 0 && text == kNewEntryPrompt)
        return;
    RecordTables& t = m_session.Tables;
    const bool newLine = IsBlankLine(m_selected);
    try {
        t.CurrentRow[R::kFieldTable] = static_cast<qint16>(m_selected);
        t.PutArrayElement(R::kFieldTable, box + 1, text);
    } catch (const RecordTablesError& e) {
        m_session.ui.MessageBox(e.Message(), MessageIcon::Exclamation);
        return;
    }
    m_lines[m_selected] = WithoutLineBreaks(t.Field(m_selected, R::FieldNameColumn));
    // Typing on the blank line made it an entry: the list ends with a blank line again.
    if (newLine)
        m_lines.append(QString());
    ShowFieldList();
    if (m_view)
        m_view->RefreshFieldGrid();
}

void RecordViewerController::EditorEdited(int box, const QString& text)
{
    DatabaseState& d = m_session.Database;
    if (d.SuppressChangeEvents || !Editing())
        return;
    d.RecordUnchanged = false;
    m_sectionUnchanged = false;
    StoreEditorBox(box, text);
}

bool RecordViewerController::EditorLeft(int box, const QString& text)
{
    if (Editing() && !m_session.Database.SuppressChangeEvents && !m_sectionUnchanged)
        StoreEditorBox(box, text);
    if (!CheckField(m_session, EditorTag(box), text, false)) {
        if (m_view)
            m_view->FocusEditorBox(box);
        return false;
    }
    return true;
}

void RecordViewerController::ValueEdited(int row, const QString& text)
{
    DatabaseState& d = m_session.Database;
    RecordTables& t = m_session.Tables;
    // The grid and the list follow the value; what they give back while
    // they do is the program's own text, not another edit.
    if (m_storingValue || d.SuppressChangeEvents || !Editing() || row < 0 || row >= t.FieldCount())
        return;
    m_storingValue = true;
    d.RecordUnchanged = false;
    t.CurrentRow[R::kFieldTable] = static_cast<qint16>(row);
    t.PutArrayElement(R::kFieldTable, R::FieldValueColumn,
                      QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    t.CurrentRow[R::kFieldTable] = static_cast<qint16>(m_selected);
    if (m_view)
        m_view->RefreshFieldGrid();
    if (row == m_selected)
        SelectLine(m_selected);
    m_storingValue = false;
}

void RecordViewerController::HeaderEdited(int box, const QString& text)
{
    DatabaseState& d = m_session.Database;
    if (d.SuppressChangeEvents || box <= 0 || box >= ViewerLayout::kHeaderItems)
        return;
    d.RecordUnchanged = false;
    const qint16 column = m_session.Config.HeaderItemColumn[static_cast<size_t>(box)];
    if (column != FormConfig::kNoColumn)
        m_session.Tables.PutArrayElement(R::kHeaderTable, column, text);
}

bool RecordViewerController::HeaderLeft(int box, const QString& text)
{
    if (!CheckField(m_session, HeaderTag(box), text, false)) {
        if (m_view)
            m_view->FocusHeaderBox(box);
        return false;
    }
    return true;
}

void RecordViewerController::SaveEntry()
{
    RecordTables& t = m_session.Tables;
    if (!m_sectionUnchanged && m_view) {
        // The boxes hold what was typed; the view gives it back through
        // EditorEdited, so the entry already has it. Only the list line
        // is refreshed.
        m_lines[m_selected] = m_selected < t.FieldCount()
                                  ? WithoutLineBreaks(t.Field(m_selected, R::FieldNameColumn))
                                  : m_lines[m_selected];
    }
    if (IsBlankLine(m_selected)) {
        // One more entry, empty until the user fills it in.
        try {
            t.CurrentRow[R::kFieldTable] = static_cast<qint16>(m_selected);
            t.PutArrayElement(R::kFieldTable, R::FieldNameColumn, QString());
        } catch (const RecordTablesError& e) {
            m_session.ui.MessageBox(e.Message(), MessageIcon::Exclamation);
            return;
        }
        m_lines.append(QString());
        m_session.Database.RecordUnchanged = false;
        if (m_view)
            m_view->RefreshFieldGrid();
    }
    m_sectionUnchanged = true;
    SelectLine(m_selected);
}

void RecordViewerController::AddNewField()
{
    SelectLine(static_cast<int>(m_lines.size()) - 1);
    if (m_view)
        m_view->FocusEditorBox(0);
}

void RecordViewerController::InsertField()
{
    if (IsBlankLine(m_selected))
        return;
    RecordTables& t = m_session.Tables;
    {
        Suppress suppress(m_session.Database);
        t.CurrentRow[R::kFieldTable] = static_cast<qint16>(m_selected);
        if (t.InsertTableRow(R::kFieldTable) != R::kFieldTable)
            return; // the record tables showed why
        m_lines.insert(m_selected, kNewEntryLine);
        m_session.Database.RecordUnchanged = false;
        SelectLine(m_selected);
    }
    if (m_view) {
        m_view->RefreshFieldGrid();
        m_view->FocusEditorBox(0);
    }
}

void RecordViewerController::DeleteField()
{
    if (IsBlankLine(m_selected))
        return;
    RecordTables& t = m_session.Tables;
    t.CurrentRow[R::kFieldTable] = static_cast<qint16>(m_selected);
    if (t.RemoveTableRow(R::kFieldTable) != R::kFieldTable) {
        m_session.ui.MessageBox(QStringLiteral("Error deleting entry: ") +
                                    QStringLiteral("entry %1 does not exist").arg(m_selected + 1),
                                MessageIcon::Exclamation);
        return;
    }
    m_lines.removeAt(m_selected);
    m_session.Database.RecordUnchanged = false;
    SelectLine(std::min<int>(m_selected, static_cast<int>(m_lines.size()) - 1));
    if (m_view)
        m_view->RefreshFieldGrid();
}

void RecordViewerController::MoveUp()
{
    if (m_selected > 0)
        SelectLine(m_selected - 1);
}

void RecordViewerController::MoveDown()
{
    if (m_selected < m_lines.size() - 1)
        SelectLine(m_selected + 1);
}

bool RecordViewerController::StoreUnsavedRecord()
{
    return ::StoreUnsavedRecord(m_session);
}

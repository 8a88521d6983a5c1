#pragma once

#include "session/WindowHost.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Session;

// What the record viewer window shows for its controller.
class RecordViewerView {
public:
    virtual ~RecordViewerView() = default;
    // Header box i (0 is the record number) shows text.
    virtual void ShowHeaderBox(int box, const QString& text) = 0;
    // The field grid and the value box show the record just read.
    virtual void ShowLoadedRecord() = 0;
    // Locks (true) or unlocks the header boxes, and the value box with the
    // editor boxes.
    virtual void LockText(bool lockHeader, bool lockFields) = 0;
    // The text of header box i (0 is the record number).
    virtual QString HeaderBoxText(int box) const = 0;
    // The field list of the editing panel, with the line selected.
    virtual void ShowFieldList(const QStringList& lines, int selected) = 0;
    // Editor box i shows text (0 the field name, 1 the field data).
    virtual void ShowEditorBox(int box, const QString& text) = 0;
    virtual void FocusEditorBox(int box) = 0;
    virtual void FocusHeaderBox(int box) = 0;
    // The field entries in memory changed: the field grid follows.
    virtual void RefreshFieldGrid() = 0;
};

// A label of the record viewer as the form configuration gives it.
struct ViewerLabel {
    QString text;
    // Red (LabelStyle 0) or the normal colour; none leaves the colour as it is.
    std::optional<bool> red;
    bool operator==(const ViewerLabel&) const = default;
};

// Where a header item stands in the viewer: hidden, or shown with the label
// the configuration gives it (none: the label keeps its text).
struct HeaderItemLabel {
    bool shown = false;
    std::optional<ViewerLabel> label;
    bool operator==(const HeaderItemLabel&) const = default;
};

// The record viewer's logic: its record commands by number, the editing
// panel, the field rules when a box is left, and what happens to unsaved
// changes when the user leaves the record. The window binds its controls
// to it and keeps no logic of its own.
class RecordViewerController : public NavigationTarget {
public:
    // The record commands; the moves through the records are Navigation's.
    enum Code { New = 4, Edit = 5, Delete = 6, Save = 7, Cancel = 8, None = 9, QueryBuilder = 10 };
    // The editor boxes of the field list: each edits one column of the entry.
    static constexpr int kEditorBoxes = 2;
    static const QString kNewEntryPrompt; // "Enter New Entry Here"
    static const QString kNewEntryLine;   // "New Entry"

    explicit RecordViewerController(Session& session) : m_session(session) {}

    void SetShell(WindowHost* shell) { m_shell = shell; }
    void SetView(RecordViewerView* view) { m_view = view; }
    RecordViewerView* View() const { return m_view; }
    // How the enabled state of the commands follows LockEditButtons.
    void SetLockEditButtons(std::function<void(bool lock)> apply)
    {
        m_lockButtons = std::move(apply);
    }

    // Runs record command code; a command the viewer cannot carry out yet
    // does nothing (its menu entry and button are disabled).
    void Command1_Click(Code code);
    // Navigation while the viewer is active: the summary moves.
    void Command1_Click(Navigation move) override;

    // "&OK": saves, and when that worked brings the summary to the front.
    void OK();
    // "&Done [Esc]": the summary opens its current record and comes to the front.
    void Done();
    // Whether a new record is entered or the current one edited.
    bool Editing() const;

    // The record in memory was read or emptied: the view shows it, without
    // its filling the boxes counting as the user's changes, and the field
    // list starts again.
    void RecordLoaded();
    // Fills the header boxes from the record in memory, each from the
    // column its header item names; false after an error (shown with
    // "UpdateRecordDisplay: Program error").
    bool UpdateResumeDisplay();
    // The viewer became the active child window.
    void Activated();

    // The labels of the form configuration: header item i (the record
    // number, item 0, is always shown), the editing panel's title and the
    // label of editor box i; none where the configuration gives none.
    HeaderItemLabel HeaderLabel(int item);
    std::optional<ViewerLabel> PanelTitle();
    std::optional<ViewerLabel> EditorLabel(int box);

    // Typing in header box i (1 ..) or editor box i.
    void HeaderEdited(int box, const QString& text);
    void EditorEdited(int box, const QString& text);
    // Leaving a box applies the field rules; false when the text does not
    // fit (the focus is then back in the box).
    bool HeaderLeft(int box, const QString& text);
    bool EditorLeft(int box, const QString& text);
    // Typing in the value box: the value of field row takes the text.
    void ValueEdited(int row, const QString& text);

    // The editing panel.
    void SelectLine(int line);
    void SaveEntry();   // "Save   >"
    void AddNewField(); // "&Add New Field"
    void InsertField(); // "&Insert Field"
    void DeleteField(); // "De&lete Field"
    void MoveUp();
    void MoveDown();
    const QStringList& FieldLines() const { return m_lines; }
    int SelectedLine() const { return m_selected; }

    // Before the user leaves the record on screen (another record, closing
    // the viewer): notes changed in the view state are stored; another
    // header changed then, or a new or edited record, brings the question
    // whether to save it. False when the user chose to stay (or the save
    // failed).
    bool StoreUnsavedRecord();

    // The header boxes into the record header; false on an error.
    bool UpdateArrays(QString* error = nullptr);
    void LockEditButtons(bool lock);
    void LockText(bool lock);

private:
    std::optional<ViewerLabel> ConfiguredLabel(qint16 entry);
    void NewRecord();
    void EditRecord();
    bool SaveRecord();
    void CancelChanges();
    bool CheckBeforeSave();
    void ShowFieldList();
    void FillEditorBoxes();
    void StoreEditorBox(int box, const QString& text);
    bool IsBlankLine(int line) const { return line == m_lines.size() - 1; }

    Session& m_session;
    WindowHost* m_shell = nullptr;
    RecordViewerView* m_view = nullptr;
    std::function<void(bool)> m_lockButtons;
    // The field list: one line per entry and the trailing blank line.
    QStringList m_lines{QString()};
    int m_selected = 0;
    bool m_sectionUnchanged = true;
    bool m_keepLocked = false; // a cancel shows the stored record with locked boxes
    bool m_storingValue = false;
};

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Every command of the main window as one table: its menu entry, its
// toolbar button, its shortcut, and the rules that enable it. The window
// builds its menus and toolbar from this table and forwards each command
// to the dispatcher; nothing here knows about widgets.

enum class CommandId {
    NewDatabase,
    OpenDatabase,
    CloseDatabase,
    ImportFiles,
    ImportClipboard,
    TransferRecords,
    ExportDelimited,
    ExportText,
    ExportHtml,
    Print,
    PrinterSetup,
    LoadConfig,
    SaveConfig,
    Exit,
    Undo,
    Cut,
    Copy,
    Paste,
    EditDelete,
    CopyRecordsToClipboard,
    MoveFirst,
    MovePrevious,
    MoveNext,
    MoveLast,
    NewRecord,
    EditRecord,
    DeleteRecord,
    SaveRecord,
    CancelChanges,
    ViewRecord,
    ViewSummary,
    ReviewDuplicates,
    ToggleToolbar,
    QueryBuilder,
    Preferences,
    DuplicateKeys,
    Statistics,
    SelectSummaryFields,
    SpellCheck,
    FormDesigner,
    ArrangeSections,
    Cascade,
    Tile,
    HelpContents,
    About,
    FetchMailbox,
    SetImportFolder,
    ScanImportFolder,
    FindPersonData,
    Retention,
    CompactDatabase,
    ChangeLog,
};

// The desktop's standard shortcut a command carries (the platform's own key
// for "Open", "Quit" and so on); ClipboardImport is Ctrl+Shift+V.
enum class Shortcut {
    None,
    New,
    Open,
    Print,
    Quit,
    Find,
    HelpContents,
    Cut,
    Copy,
    Paste,
    ClipboardImport
};

// How one column of the editing-state table enables a command, given the
// lock argument L (true while a record is only viewed).
enum class LockRule { Untouched, Yes, No, L, NotL };

struct CommandInfo {
    CommandId id;
    QString menu;            // the menu holding the entry ("mnuFile"), empty for none
    QString menuItem;        // the entry's object name ("mnuFOpenDB"), empty for none
    QString caption;         // with "&" before the mnemonic
    int toolbarPosition = 0; // 1-based with separators counted, 0 when not on the toolbar
    QString key;             // the toolbar key ("OpenDB"), empty when not on the toolbar
    QString tooltip;
    Shortcut shortcut = Shortcut::None;
    LockRule whenNoRecords = LockRule::Untouched; // while the database holds no record
    LockRule otherwise = LockRule::Untouched;
    bool menuNeedsDatabase = false;    // the menu entry is off while no database is open
    bool toolbarNeedsDatabase = false; // likewise the toolbar button
    bool built = true;                 // false: not available in this program yet, always off
    bool checkable = false;
};

const QList<CommandInfo>& Commands();
const CommandInfo& CommandOf(CommandId id);
// The command behind a toolbar key or a menu entry's object name.
const CommandInfo* CommandByKey(const QString& key);
const CommandInfo* CommandByMenuItem(const QString& name);

// The state the enabling rules depend on.
struct CommandContext {
    bool databaseOpen = false;
    bool editing = false;   // a new record is entered or the record is edited
    bool noRecords = false; // the open database holds no record
};

// Whether the command's menu entry is on.
bool CommandEnabled(const CommandInfo& command, const CommandContext& context);
// Whether any of its controls (menu entry or toolbar button) is on, so
// that the command may run.
bool CommandAvailable(const CommandInfo& command, const CommandContext& context);
// Whether a menu as a whole is on: the Edit and Record menus need an open
// database.
bool MenuEnabled(const QString& menu, const CommandContext& context);

// One control (menu, menu entry, toolbar button or editing-panel button,
// by object name) and the enabled state it is to take.
struct CommandState {
    QString name;
    bool enabled;
    bool operator==(const CommandState&) const = default;
};

// The state of every menu, menu entry, toolbar button and editing-panel
// button in the given context.
QList<CommandState> CommandStates(const CommandContext& context);
// The object names of the record viewer's editing-panel buttons that
// follow the command states; each section has its own button of a name.
const QStringList& EditingPanelButtons();

// One toolbar position; a separator has an empty key.
struct ToolbarButton {
    int position;
    QString key;
    QString tooltip;
    bool IsSeparator() const { return key.isEmpty(); }
};

// The toolbar in order: 25 positions, separators at 4, 8, 14, 17 and 21.
const QList<ToolbarButton>& ToolbarButtons();
// The object name of the toolbar button with key, for example "tbrOpenDB".
QString ToolbarButtonName(const QString& key);

// One item of a menu. A separator has an empty caption.
struct MenuItem {
    QString name; // object name, for example "mnuFOpenDB"
    QString caption;
    QString toolbarKey; // the toolbar button of the same command, if any
    bool checkable = false;
    bool initiallyVisible = true;
    bool IsSeparator() const { return caption.isEmpty(); }
};

struct Menu {
    QString name; // "mnuFile", "mnuEdit", "mnuResume", "mnuOptions", "mnuWindow", "mnuHelp"
    QString caption;
    QList<MenuItem> items;
};

// The menu bar in order, with the separator and the four hidden recent-file
// items at the end of the File menu.
const QList<Menu>& MainMenus();
// The object name of the k-th recent-file item (1 to 4).
QString RecentFileItemName(int k);

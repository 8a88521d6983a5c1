#include "app/CommandTable.h"

namespace {

using R = LockRule;

struct Row {
    CommandId id;
    const char* menu;
    const char* menuItem;
    const char* caption;
    int position;
    const char* key;
    const char* tooltip;
    Shortcut shortcut;
    R whenNoRecords;
    R otherwise;
    bool menuNeedsDatabase;
    bool built;
};

// Menu entries in menu order; toolbar-only commands have no menu entry.
// Columns: menu, entry, caption, toolbar position, key, tooltip, shortcut,
// the editing-state rule with no record and otherwise, whether the entry
// needs an open database, and whether the command exists yet.
const Row kRows[] = {
    {CommandId::NewDatabase, "mnuFile", "mnuFNewDB", "&New Database...", 0, "", "", Shortcut::New,
     R::Untouched, R::Untouched, false, true},
    {CommandId::OpenDatabase, "mnuFile", "mnuFOpenDB", "&Open Database...", 5, "OpenDB",
     "Open Database", Shortcut::Open, R::L, R::L, false, true},
    {CommandId::CloseDatabase, "mnuFile", "mnuFCloseDB", "&Close Database", 0, "", "",
     Shortcut::None, R::Untouched, R::Untouched, true, true},
    // Refused with a message for a database open for reading only.
    {CommandId::CompactDatabase, "mnuFile", "mnuFCompactDB", "Co&mpact database", 0, "", "",
     Shortcut::None, R::L, R::L, true, true},
    {CommandId::ImportFiles, "mnuFile", "mnuFImportResume", "&Import record(s) from file(s)...", 6,
     "FileImport", "Import record(s) from file(s)", Shortcut::None, R::L, R::L, true, true},
    {CommandId::ImportClipboard, "mnuFile", "mnuFImportClipboard", "Import record from Clip&board",
     7, "ClipboardImport", "Import record from Clipboard", Shortcut::ClipboardImport, R::L, R::L,
     true, true},
    {CommandId::FetchMailbox, "mnuFile", "mnuFFetchMailbox", "&Fetch responses from mailbox...", 0,
     "", "", Shortcut::None, R::L, R::L, true, true},
    {CommandId::SetImportFolder, "mnuFile", "mnuFSetImportFolder", "&Set import folder...", 0, "",
     "", Shortcut::None, R::L, R::L, true, true},
    {CommandId::ScanImportFolder, "mnuFile", "mnuFScanImportFolder", "Sc&an import folder", 0, "",
     "", Shortcut::None, R::L, R::L, true, true},
    {CommandId::TransferRecords, "mnuFile", "mnuFSaveResumeToDB",
     "&Export record(s) to different Tallowmere Database...", 0, "", "", Shortcut::None,
     R::Untouched, R::Untouched, true, true},
    {CommandId::ExportDelimited, "mnuFile", "mnuFDelimitedExport",
     "Export record(s) to &Delimited Text File", 0, "", "", Shortcut::None, R::Untouched,
     R::Untouched, true, true},
    {CommandId::ExportText, "mnuFile", "mnuFExportResume", "Export record(s) to &Text file...", 0,
     "", "", Shortcut::None, R::Untouched, R::Untouched, true, true},
    {CommandId::ExportHtml, "mnuFile", "mnuFExportHTML", "Export record(s) to &HTML file...", 0, "",
     "", Shortcut::None, R::Untouched, R::Untouched, true, true},
    {CommandId::Print, "mnuFile", "mnuFPrintResume", "&Print record(s)...", 10, "Print",
     "Print record(s)", Shortcut::Print, R::No, R::L, true, true},
    {CommandId::PrinterSetup, "mnuFile", "mnuFPrinterSetup", "P&rinter setup", 0, "", "",
     Shortcut::None, R::Untouched, R::Untouched, false, true},
    {CommandId::LoadConfig, "mnuFile", "mnuFLoadConfig", "&Load configuration file...", 0, "", "",
     Shortcut::None, R::Untouched, R::Untouched, false, true},
    {CommandId::SaveConfig, "mnuFile", "mnuFSaveConfig", "Sa&ve configuration file As...", 0, "",
     "", Shortcut::None, R::Untouched, R::Untouched, false, true},
    {CommandId::Exit, "mnuFile", "mnuFExit", "E&xit", 0, "", "", Shortcut::Quit, R::Untouched,
     R::Untouched, false, true},

    {CommandId::Undo, "mnuEdit", "mnuEUndo", "&Undo", 0, "", "", Shortcut::None, R::Untouched,
     R::Untouched, true, true},
    {CommandId::Cut, "mnuEdit", "mnuECut", "Cu&t", 1, "Cut", "Cut", Shortcut::Cut, R::No, R::NotL,
     true, true},
    {CommandId::Copy, "mnuEdit", "mnuECopy", "&Copy", 2, "Copy", "Copy", Shortcut::Copy, R::No,
     R::Yes, true, true},
    {CommandId::Paste, "mnuEdit", "mnuEPaste", "&Paste", 3, "Paste", "Paste", Shortcut::Paste,
     R::No, R::NotL, true, true},
    {CommandId::EditDelete, "mnuEdit", "mnuEDelete", "&Delete", 0, "", "", Shortcut::None,
     R::Untouched, R::Untouched, true, true},
    {CommandId::CopyRecordsToClipboard, "mnuEdit", "mnuECopyToClipboard",
     "Copy &record(s) to clipboard", 0, "", "", Shortcut::None, R::Untouched, R::Untouched, true,
     true},

    {CommandId::MoveFirst, "mnuResume", "mnuRMoveFirst", "Move &First", 22, "First",
     "Move to the first record", Shortcut::None, R::No, R::L, true, true},
    {CommandId::MovePrevious, "mnuResume", "mnuRMovePrevious", "Move &Previous", 23, "Prev",
     "Move to the previous record", Shortcut::None, R::No, R::L, true, true},
    {CommandId::MoveNext, "mnuResume", "mnuRMoveNext", "Move &Next", 24, "Next",
     "Move to the next record", Shortcut::None, R::No, R::L, true, true},
    {CommandId::MoveLast, "mnuResume", "mnuRMoveLast", "Move &Last", 25, "Last",
     "Move to the last record", Shortcut::None, R::No, R::L, true, true},
    {CommandId::NewRecord, "mnuResume", "mnuRNewResume", "En&ter new record", 9, "Add",
     "Enter new record", Shortcut::None, R::L, R::L, true, true},
    {CommandId::EditRecord, "mnuResume", "mnuREditResume", "&Edit record", 18, "Edit",
     "Edit record", Shortcut::None, R::No, R::L, true, true},
    {CommandId::DeleteRecord, "mnuResume", "mnuRDeleteResume", "&Delete record", 11, "Delete",
     "Delete record(s)", Shortcut::None, R::No, R::L, true, true},
    {CommandId::SaveRecord, "mnuResume", "mnuRSaveResume", "Save &record", 15, "Save",
     "Save changes to record", Shortcut::None, R::NotL, R::NotL, true, true},
    {CommandId::CancelChanges, "mnuResume", "mnuRCancel", "&Cancel changes", 16, "Cancel",
     "Cancel changes to record", Shortcut::None, R::NotL, R::NotL, true, true},
    {CommandId::ViewRecord, "mnuResume", "mnuRViewResume", "&View record", 20, "View",
     "View record", Shortcut::None, R::L, R::L, true, true},
    {CommandId::ViewSummary, "mnuResume", "mnuRViewSummary", "View &summary", 19, "Browse",
     "View summary", Shortcut::None, R::L, R::L, true, true},
    {CommandId::ReviewDuplicates, "mnuResume", "mnuRReviewDuplicates", "Review d&uplicates...", 0,
     "", "", Shortcut::None, R::No, R::L, true, true},
    {CommandId::FindPersonData, "mnuResume", "mnuRFindPerson", "Find a pers&on's data...", 0, "",
     "", Shortcut::None, R::No, R::L, true, true},

    // Neither the toolbar nor the start-up preferences need a database.
    {CommandId::ToggleToolbar, "mnuOptions", "mnuOToolbar", "&Toolbar", 0, "", "", Shortcut::None,
     R::Untouched, R::Untouched, false, true},
    {CommandId::QueryBuilder, "mnuOptions", "mnuOQueryBuilder", "&Search using Query Builder", 12,
     "Query", "Search using Query Builder", Shortcut::Find, R::No, R::L, true, true},
    {CommandId::Preferences, "mnuOptions", "mnuOPreferences", "&Preferences / Quick Tips", 0, "",
     "", Shortcut::None, R::Untouched, R::Untouched, false, true},
    {CommandId::DuplicateKeys, "mnuOptions", "mnuODuplicateKeys", "Duplicate &keys...", 0, "", "",
     Shortcut::None, R::L, R::L, true, true},
    {CommandId::Retention, "mnuOptions", "mnuORetention", "&Retention...", 0, "", "",
     Shortcut::None, R::L, R::L, true, true},
    {CommandId::Statistics, "mnuOptions", "mnuOStatistics", "Stat&istics...", 13, "Statistics",
     "Statistics of the records in the summary", Shortcut::None, R::L, R::L, true, true},
    {CommandId::SelectSummaryFields, "mnuOptions", "mnuOSelectFields", "Select summary &fields", 0,
     "", "", Shortcut::None, R::L, R::L, true, true},
    {CommandId::ChangeLog, "mnuOptions", "mnuOChangeLog", "C&hange log...", 0, "", "",
     Shortcut::None, R::Untouched, R::Untouched, true, true},
    // Shown for their place in the menu; the program has no such tool.
    {CommandId::SpellCheck, "mnuOptions", "mnuOSpellCheck", "Spell &Check", 0, "", "",
     Shortcut::None, R::Untouched, R::Untouched, true, false},
    {CommandId::FormDesigner, "mnuOptions", "mnuOFormDesigner", "&Form Designer", 0, "", "",
     Shortcut::None, R::Untouched, R::Untouched, true, false},
    {CommandId::ArrangeSections, "mnuOptions", "mnuOArrangeSections", "&Arrange Sections", 0, "",
     "", Shortcut::None, R::Untouched, R::Untouched, true, false},

    {CommandId::Cascade, "mnuWindow", "mnuWCascade", "&Cascade", 0, "", "", Shortcut::None,
     R::Untouched, R::Untouched, false, true},
    {CommandId::Tile, "mnuWindow", "mnuWTile", "&Tile", 0, "", "", Shortcut::None, R::Untouched,
     R::Untouched, false, true},
    {CommandId::HelpContents, "mnuHelp", "mnuHContents", "&Contents", 0, "", "",
     Shortcut::HelpContents, R::Untouched, R::Untouched, false, true},
    {CommandId::About, "mnuHelp", "mnuHAbout", "&About Tallowmere...", 0, "", "", Shortcut::None,
     R::Untouched, R::Untouched, false, true},
};

QString Text(const char* s)
{
    return QString::fromLatin1(s);
}

QList<CommandInfo> BuildCommands()
{
    QList<CommandInfo> commands;
    for (const Row& row : kRows) {
        CommandInfo c;
        c.id = row.id;
        c.menu = Text(row.menu);
        c.menuItem = Text(row.menuItem);
        c.caption = Text(row.caption);
        c.toolbarPosition = row.position;
        c.key = Text(row.key);
        c.tooltip = Text(row.tooltip);
        c.shortcut = row.shortcut;
        c.whenNoRecords = row.whenNoRecords;
        c.otherwise = row.otherwise;
        c.menuNeedsDatabase = row.menuNeedsDatabase;
        // Every toolbar button after "OpenDB" needs a database; Cut, Copy
        // and Paste before it are left as they are.
        c.toolbarNeedsDatabase = row.position >= 6;
        c.built = row.built;
        c.checkable = row.id == CommandId::ToggleToolbar;
        commands.append(c);
    }
    return commands;
}

bool Apply(LockRule rule, bool lock)
{
    switch (rule) {
    case LockRule::Untouched:
    case LockRule::Yes:
        return true;
    case LockRule::No:
        return false;
    case LockRule::L:
        return lock;
    case LockRule::NotL:
        return !lock;
    }
    return true;
}

bool EnabledAs(const CommandInfo& command, bool needsDatabase, const CommandContext& context)
{
    if (!command.built)
        return false;
    if (!context.databaseOpen)
        return !needsDatabase;
    return Apply(context.noRecords ? command.whenNoRecords : command.otherwise, !context.editing);
}

QList<Menu> BuildMenus()
{
    static const char* const kMenus[][2] = {{"mnuFile", "&File"},     {"mnuEdit", "&Edit"},
                                            {"mnuResume", "&Record"}, {"mnuOptions", "&Options"},
                                            {"mnuWindow", "&Window"}, {"mnuHelp", "&Help"}};
    QList<Menu> menus;
    for (const auto& m : kMenus) {
        Menu menu{Text(m[0]), Text(m[1]), {}};
        for (const CommandInfo& c : Commands()) {
            if (c.menu != menu.name)
                continue;
            MenuItem item;
            item.name = c.menuItem;
            item.caption = c.caption;
            item.toolbarKey = c.key;
            item.checkable = c.checkable;
            menu.items.append(item);
        }
        if (menu.name == QLatin1String("mnuFile")) {
            MenuItem separator;
            separator.name = QStringLiteral("mnuFRecentSeparator");
            separator.initiallyVisible = false;
            menu.items.append(separator);
            for (int k = 1; k <= 4; ++k) {
                MenuItem recent;
                recent.name = RecentFileItemName(k);
                recent.caption = QStringLiteral("RecentFile") + QString::number(k);
                recent.initiallyVisible = false;
                menu.items.append(recent);
            }
        }
        menus.append(menu);
    }
    return menus;
}

QList<ToolbarButton> BuildToolbar()
{
    QList<ToolbarButton> buttons;
    for (int position = 1; position <= 25; ++position)
        buttons.append({position, QString(), QString()});
    for (const CommandInfo& c : Commands())
        if (c.toolbarPosition > 0)
            buttons[c.toolbarPosition - 1] = {c.toolbarPosition, c.key, c.tooltip};
    return buttons;
}

} // namespace

const QList<CommandInfo>& Commands()
{
    static const QList<CommandInfo> commands = BuildCommands();
    return commands;
}

const CommandInfo& CommandOf(CommandId id)
{
    for (const CommandInfo& c : Commands())
        if (c.id == id)
            return c;
    Q_UNREACHABLE();
}

const CommandInfo* CommandByKey(const QString& key)
{
    for (const CommandInfo& c : Commands())
        if (!c.key.isEmpty() && c.key == key)
            return &c;
    return nullptr;
}

const CommandInfo* CommandByMenuItem(const QString& name)
{
    for (const CommandInfo& c : Commands())
        if (!c.menuItem.isEmpty() && c.menuItem == name)
            return &c;
    return nullptr;
}

bool CommandEnabled(const CommandInfo& command, const CommandContext& context)
{
    return EnabledAs(command, command.menuNeedsDatabase, context);
}

bool CommandAvailable(const CommandInfo& command, const CommandContext& context)
{
    return EnabledAs(command, command.menuNeedsDatabase, context) ||
           (command.toolbarPosition > 0 &&
            EnabledAs(command, command.toolbarNeedsDatabase, context));
}

bool MenuEnabled(const QString& menu, const CommandContext& context)
{
    if (context.databaseOpen)
        return true;
    // The Options menu stays open for its entries that need no database.
    return menu != QLatin1String("mnuEdit") && menu != QLatin1String("mnuResume");
}

QList<CommandState> CommandStates(const CommandContext& context)
{
    QList<CommandState> states;
    for (const Menu& menu : MainMenus())
        states.append({menu.name, MenuEnabled(menu.name, context)});
    for (const CommandInfo& c : Commands()) {
        if (!c.menuItem.isEmpty())
            states.append({c.menuItem, EnabledAs(c, c.menuNeedsDatabase, context)});
        if (!c.key.isEmpty())
            states.append(
                {ToolbarButtonName(c.key), EnabledAs(c, c.toolbarNeedsDatabase, context)});
    }
    // The editing panel's add, insert and delete buttons of every section;
    // "Save   >" and "&OK" only store anything while a record is edited.
    const bool editing = context.databaseOpen && context.editing;
    for (const QString& name : EditingPanelButtons())
        states.append({name, editing});
    return states;
}

const QStringList& EditingPanelButtons()
{
    static const QStringList names{QStringLiteral("cmdAddNew"), QStringLiteral("cmdInsertEntry"),
                                   QStringLiteral("cmdRemove"), QStringLiteral("cmdSave"),
                                   QStringLiteral("cmdOK")};
    return names;
}

const QList<ToolbarButton>& ToolbarButtons()
{
    static const QList<ToolbarButton> buttons = BuildToolbar();
    return buttons;
}

QString ToolbarButtonName(const QString& key)
{
    return QStringLiteral("tbr") + key;
}

const QList<Menu>& MainMenus()
{
    static const QList<Menu> menus = BuildMenus();
    return menus;
}

QString RecentFileItemName(int k)
{
    return QStringLiteral("mnuFRecentFile") + QString::number(k);
}

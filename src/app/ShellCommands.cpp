#include "app/ShellCommands.h"

namespace {

ToolbarButton Button(int position, const char* key, const char* tooltip)
{
    return {position, QString::fromLatin1(key), QString::fromLatin1(tooltip)};
}

MenuItem Item(const char* name, const char* caption, const char* toolbarKey = "")
{
    MenuItem item;
    item.name = QString::fromLatin1(name);
    item.caption = QString::fromLatin1(caption);
    item.toolbarKey = QString::fromLatin1(toolbarKey);
    return item;
}

MenuItem Separator(const char* name)
{
    MenuItem item;
    item.name = QString::fromLatin1(name);
    return item;
}

QList<Menu> BuildMenus()
{
    Menu file{QStringLiteral("mnuFile"), QStringLiteral("&File"), {}};
    file.items = {
        Item("mnuFNewDB", "&New Database..."),
        Item("mnuFOpenDB", "&Open Database..."),
        Item("mnuFCloseDB", "&Close Database"),
        Item("mnuFImportResume", "&Import record(s) from file(s)..."),
        Item("mnuFImportClipboard", "Import record from Clip&board"),
        Item("mnuFSaveResumeToDB", "&Export record(s) to different Tallowmere Database..."),
        Item("mnuFDelimitedExport", "Export record(s) to &Delimited Text File"),
        Item("mnuFExportResume", "Export record(s) to &Text file..."),
        Item("mnuFExportHTML", "Export record(s) to &HTML file..."),
        Item("mnuFPrintResume", "&Print record(s)..."),
        Item("mnuFPrinterSetup", "P&rinter setup"),
        Item("mnuFLoadConfig", "&Load configuration file..."),
        Item("mnuFSaveConfig", "Sa&ve configuration file As..."),
        Item("mnuFExit", "E&xit"),
        Separator("mnuFRecentSeparator"),
    };
    file.items.last().initiallyVisible = false;
    for (int k = 1; k <= 4; ++k) {
        MenuItem recent;
        recent.name = RecentFileItemName(k);
        recent.caption = QStringLiteral("RecentFile") + QString::number(k);
        recent.initiallyVisible = false;
        file.items.append(recent);
    }

    Menu edit{QStringLiteral("mnuEdit"),
              QStringLiteral("&Edit"),
              {Item("mnuEUndo", "&Undo"), Item("mnuECut", "Cu&t"), Item("mnuECopy", "&Copy"),
               Item("mnuEPaste", "&Paste"), Item("mnuEDelete", "&Delete"),
               Item("mnuECopyToClipboard", "Copy &record(s) to clipboard")}};

    Menu record{QStringLiteral("mnuResume"),
                QStringLiteral("&Record"),
                {Item("mnuRMoveFirst", "Move &First", "First"),
                 Item("mnuRMovePrevious", "Move &Previous", "Prev"),
                 Item("mnuRMoveNext", "Move &Next", "Next"),
                 Item("mnuRMoveLast", "Move &Last", "Last"),
                 Item("mnuRNewResume", "En&ter new record", "Add"),
                 Item("mnuREditResume", "&Edit record", "Edit"),
                 Item("mnuRDeleteResume", "&Delete record", "Delete"),
                 Item("mnuRSaveResume", "Save &record", "Save"),
                 Item("mnuRCancel", "&Cancel changes", "Cancel"),
                 Item("mnuRViewResume", "&View record", "View"),
                 Item("mnuRViewSummary", "View &summary", "Browse")}};

    Menu options{
        QStringLiteral("mnuOptions"),
        QStringLiteral("&Options"),
        {Item("mnuOToolbar", "&Toolbar"), Item("mnuOQueryBuilder", "&Search using Query Builder"),
         Item("mnuOPreferences", "&Preferences / Quick Tips"),
         Item("mnuOSelectFields", "Select summary &fields"), Item("mnuOSpellCheck", "Spell &Check"),
         Item("mnuOFormDesigner", "&Form Designer"),
         Item("mnuOArrangeSections", "&Arrange Sections")}};
    options.items.first().checkable = true;

    Menu window{QStringLiteral("mnuWindow"),
                QStringLiteral("&Window"),
                {Item("mnuWCascade", "&Cascade"), Item("mnuWTile", "&Tile")}};
    Menu help{QStringLiteral("mnuHelp"),
              QStringLiteral("&Help"),
              {Item("mnuHContents", "&Contents"), Item("mnuHAbout", "&About Tallowmere...")}};
    return {file, edit, record, options, window, help};
}

// Whether the button at position is a database command: every button
// after the "OpenDB" button (position 5).
bool NeedsDatabase(const ToolbarButton& button)
{
    return button.position >= 6;
}

} // namespace

const QList<ToolbarButton>& ToolbarButtons()
{
    static const QList<ToolbarButton> buttons = {
        Button(1, "Cut", "Cut"),
        Button(2, "Copy", "Copy"),
        Button(3, "Paste", "Paste"),
        Button(4, "", ""),
        Button(5, "OpenDB", "Open Database"),
        Button(6, "FileImport", "Import record(s) from file(s)"),
        Button(7, "ClipboardImport", "Import record from Clipboard"),
        Button(8, "", ""),
        Button(9, "Add", "Enter new record"),
        Button(10, "Print", "Print record(s)"),
        Button(11, "Delete", "Delete record(s)"),
        Button(12, "Query", "Search using Query Builder"),
        Button(13, "", ""),
        Button(14, "Save", "Save changes to record"),
        Button(15, "Cancel", "Cancel changes to record"),
        Button(16, "", ""),
        Button(17, "Edit", "Edit record"),
        Button(18, "Browse", "View summary"),
        Button(19, "View", "View record"),
        Button(20, "", ""),
        Button(21, "First", "Move to the first record"),
        Button(22, "Prev", "Move to the previous record"),
        Button(23, "Next", "Move to the next record"),
        Button(24, "Last", "Move to the last record"),
    };
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

QList<CommandState> NoDatabaseCommandStates(bool noDatabase)
{
    const bool enabled = !noDatabase;
    QList<CommandState> states;
    states.append({ToolbarButtonName(QStringLiteral("OpenDB")), true});
    for (const ToolbarButton& button : ToolbarButtons()) {
        if (!button.IsSeparator() && NeedsDatabase(button))
            states.append({ToolbarButtonName(button.key), enabled});
    }
    // A whole menu: the menu and each of its items, so that no shortcut of
    // an item reaches a command while its menu is off.
    for (const Menu& menu : MainMenus()) {
        if (menu.name != QLatin1String("mnuEdit") && menu.name != QLatin1String("mnuResume") &&
            menu.name != QLatin1String("mnuOptions"))
            continue;
        states.append({menu.name, enabled});
        for (const MenuItem& item : menu.items)
            states.append({item.name, enabled});
    }
    for (const char* name :
         {"mnuFCloseDB", "mnuFImportResume", "mnuFImportClipboard", "mnuFSaveResumeToDB",
          "mnuFDelimitedExport", "mnuFExportResume", "mnuFExportHTML", "mnuFPrintResume"})
        states.append({QString::fromLatin1(name), enabled});
    return states;
}

QList<CommandState> EditCommandStates(bool lock, bool noRecords)
{
    const bool L = lock;
    // Enabled state with no record, and otherwise.
    struct Rule {
        const char* key;  // toolbar key, "" for a menu-only entry
        const char* menu; // menu item of the same command
        bool whenNoRecords;
        bool otherwise;
    };
    const Rule rules[] = {
        {"Cut", "mnuECut", false, !L},
        {"Copy", "mnuECopy", false, true},
        {"Paste", "mnuEPaste", false, !L},
        {"First", "mnuRMoveFirst", false, L},
        {"Prev", "mnuRMovePrevious", false, L},
        {"Next", "mnuRMoveNext", false, L},
        {"Last", "mnuRMoveLast", false, L},
        {"Add", "mnuRNewResume", L, L},
        {"Edit", "mnuREditResume", false, L},
        {"Delete", "mnuRDeleteResume", false, L},
        {"Save", "mnuRSaveResume", !L, !L},
        {"Cancel", "mnuRCancel", !L, !L},
        {"Query", "mnuOQueryBuilder", false, L},
        {"Print", "mnuFPrintResume", false, L},
        {"View", "mnuRViewResume", L, L},
        {"Browse", "mnuRViewSummary", L, L},
        {"OpenDB", "mnuFOpenDB", L, L},
        {"FileImport", "mnuFImportResume", L, L},
        {"ClipboardImport", "mnuFImportClipboard", L, L},
    };
    QList<CommandState> states;
    for (const Rule& rule : rules) {
        const bool enabled = noRecords ? rule.whenNoRecords : rule.otherwise;
        states.append({ToolbarButtonName(QString::fromLatin1(rule.key)), enabled});
        states.append({QString::fromLatin1(rule.menu), enabled});
    }
    // The editing panel's buttons of every section.
    for (const char* name : {"cmdAddNew", "cmdInsertEntry", "cmdRemove"})
        states.append({QString::fromLatin1(name), !L});
    return states;
}

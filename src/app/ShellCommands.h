#pragma once

#include <QList>
#include <QString>

// The main window's commands as data: its menus and toolbar in order, and
// the rules that enable and disable them. The window only builds and
// applies what is listed here.

// One toolbar button; a separator has an empty key.
struct ToolbarButton {
    int position; // 1-based, separators counted
    QString key;  // the dispatcher's key, also the button's object name after "tbr"
    QString tooltip;
    bool IsSeparator() const { return key.isEmpty(); }
};

// The toolbar in order: 24 positions, separators at 4, 8, 13, 16 and 20.
const QList<ToolbarButton>& ToolbarButtons();

// The object name of the toolbar button with key, for example "tbrOpenDB".
QString ToolbarButtonName(const QString& key);

// One item of a menu. A separator has an empty caption. Items of the
// Record menu press a toolbar button (toolbarKey).
struct MenuItem {
    QString name;    // object name, for example "mnuFOpenDB"
    QString caption; // with "&" before the mnemonic
    QString toolbarKey;
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

// The enabled state one command (menu, menu item or toolbar button, named
// by object name) is to take.
struct CommandState {
    QString name;
    bool enabled;
    bool operator==(const CommandState&) const = default;
};

// The database-dependent commands with noDatabase true (none is open) or
// false: the Edit, Record and Options menus, the File menu's commands that
// work on an open database, and every toolbar button after "OpenDB", which
// itself stays enabled. Cut, Copy and Paste are left as they are.
QList<CommandState> NoDatabaseCommandStates(bool noDatabase);

// The record commands by editing state: lock true while a record is only
// viewed, false while one is entered or edited; noRecords while the
// database holds no record. Each toolbar button goes with the menu item of
// the same command; the editing panel's add, insert and delete buttons
// (of every section) are usable only while editing.
QList<CommandState> EditCommandStates(bool lock, bool noRecords);

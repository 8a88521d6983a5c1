#include "app/ShellCommands.h"

#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QMap<QString, bool> AsMap(const QList<CommandState>& states)
{
    QMap<QString, bool> map;
    for (const CommandState& s : states) {
        EXPECT_FALSE(map.contains(s.name)) << s.name.toStdString() << " listed twice";
        map.insert(s.name, s.enabled);
    }
    return map;
}

const Menu& MenuNamed(const QString& name)
{
    for (const Menu& m : MainMenus())
        if (m.name == name)
            return m;
    static const Menu none;
    ADD_FAILURE() << "no menu " << name.toStdString();
    return none;
}

} // namespace

TEST(ShellCommands, ToolbarHasItsButtonsAndSeparatorsInOrder)
{
    const QList<ToolbarButton>& buttons = ToolbarButtons();
    ASSERT_EQ(buttons.size(), 24);
    QStringList keys;
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].position, i + 1);
        keys.append(buttons[i].key);
    }
    EXPECT_EQ(keys.join(QLatin1Char(',')),
              QStringLiteral("Cut,Copy,Paste,,OpenDB,FileImport,ClipboardImport,,Add,Print,"
                             "Delete,Query,,Save,Cancel,,Edit,Browse,View,,First,Prev,Next,Last"));
    EXPECT_EQ(buttons[4].tooltip, QStringLiteral("Open Database"));
    EXPECT_EQ(buttons[11].tooltip, QStringLiteral("Search using Query Builder"));
    EXPECT_EQ(buttons[23].tooltip, QStringLiteral("Move to the last record"));
}

TEST(ShellCommands, MenusInOrderWithRecentFilesAtTheEndOfFile)
{
    QStringList captions;
    for (const Menu& m : MainMenus())
        captions.append(m.caption);
    EXPECT_EQ(captions, (QStringList{"&File", "&Edit", "&Record", "&Options", "&Window", "&Help"}));

    const Menu& file = MenuNamed(QStringLiteral("mnuFile"));
    ASSERT_EQ(file.items.size(), 19);
    EXPECT_EQ(file.items[1].name, QStringLiteral("mnuFOpenDB"));
    EXPECT_EQ(file.items[13].caption, QStringLiteral("E&xit"));
    EXPECT_TRUE(file.items[14].IsSeparator());
    EXPECT_FALSE(file.items[14].initiallyVisible);
    for (int k = 1; k <= 4; ++k) {
        const MenuItem& recent = file.items[14 + k];
        EXPECT_EQ(recent.name, RecentFileItemName(k));
        EXPECT_EQ(recent.caption, QStringLiteral("RecentFile") + QString::number(k));
        EXPECT_FALSE(recent.initiallyVisible);
    }
}

TEST(ShellCommands, RecordMenuPressesTheMatchingToolbarButtons)
{
    const Menu& record = MenuNamed(QStringLiteral("mnuResume"));
    QStringList keys;
    for (const MenuItem& item : record.items)
        keys.append(item.toolbarKey);
    // Positions 21, 22, 23, 24, 9, 17, 11, 14, 15, 19 and 18.
    EXPECT_EQ(keys, (QStringList{"First", "Prev", "Next", "Last", "Add", "Edit", "Delete", "Save",
                                 "Cancel", "View", "Browse"}));
    QSet<QString> toolbarKeys;
    for (const ToolbarButton& b : ToolbarButtons())
        toolbarKeys.insert(b.key);
    for (const QString& key : keys)
        EXPECT_TRUE(toolbarKeys.contains(key)) << key.toStdString();
}

TEST(ShellCommands, NoDatabaseDisablesDatabaseCommandsOnly)
{
    const QMap<QString, bool> off = AsMap(NoDatabaseCommandStates(true));
    const QMap<QString, bool> on = AsMap(NoDatabaseCommandStates(false));
    EXPECT_EQ(off.keys(), on.keys());

    EXPECT_TRUE(off.value(QStringLiteral("tbrOpenDB")));
    EXPECT_TRUE(on.value(QStringLiteral("tbrOpenDB")));
    // Cut, Copy and Paste are not touched; the New, Open, Exit, Window and
    // Help commands are never listed.
    for (const char* untouched :
         {"tbrCut", "tbrCopy", "tbrPaste", "mnuFNewDB", "mnuFOpenDB", "mnuFExit",
          "mnuFPrinterSetup", "mnuFLoadConfig", "mnuWTile", "mnuHContents", "mnuFRecentFile1"})
        EXPECT_FALSE(off.contains(QString::fromLatin1(untouched))) << untouched;

    for (const char* name :
         {"tbrFileImport", "tbrLast", "tbrQuery", "mnuEdit", "mnuEUndo", "mnuResume",
          "mnuRMoveNext", "mnuOptions", "mnuOToolbar", "mnuFCloseDB", "mnuFImportResume",
          "mnuFImportClipboard", "mnuFSaveResumeToDB", "mnuFDelimitedExport", "mnuFExportResume",
          "mnuFExportHTML", "mnuFPrintResume"}) {
        EXPECT_FALSE(off.value(QString::fromLatin1(name), true)) << name;
        EXPECT_TRUE(on.value(QString::fromLatin1(name), false)) << name;
    }
    // Every toolbar button after OpenDB is listed.
    int toolbarEntries = 0;
    for (auto it = off.cbegin(); it != off.cend(); ++it)
        toolbarEntries += it.key().startsWith(QLatin1String("tbr")) ? 1 : 0;
    EXPECT_EQ(toolbarEntries, 1 + 15);
}

TEST(ShellCommands, EditStatesByLockAndRecords)
{
    const QMap<QString, bool> viewing = AsMap(EditCommandStates(true, false));
    const QMap<QString, bool> editing = AsMap(EditCommandStates(false, false));
    const QMap<QString, bool> empty = AsMap(EditCommandStates(true, true));

    // Viewing a record: move and start editing, not save or cancel.
    for (const char* name :
         {"tbrNext", "mnuRMoveNext", "tbrEdit", "mnuREditResume", "tbrAdd", "tbrDelete", "tbrQuery",
          "mnuOQueryBuilder", "tbrPrint", "tbrCopy", "tbrOpenDB", "mnuFImportResume"})
        EXPECT_TRUE(viewing.value(QString::fromLatin1(name))) << name;
    for (const char* name : {"tbrSave", "mnuRCancel", "tbrCut", "mnuEPaste", "cmdAddNew",
                             "cmdInsertEntry", "cmdRemove"})
        EXPECT_FALSE(viewing.value(QString::fromLatin1(name), true)) << name;

    // Entering or editing: save, cancel and the editing panel, nothing that leaves the record.
    for (const char* name :
         {"tbrSave", "mnuRSaveResume", "tbrCancel", "tbrCut", "cmdAddNew", "cmdRemove", "tbrCopy"})
        EXPECT_TRUE(editing.value(QString::fromLatin1(name))) << name;
    for (const char* name : {"tbrNext", "tbrEdit", "tbrAdd", "tbrOpenDB", "mnuFOpenDB", "tbrView",
                             "tbrBrowse", "tbrPrint"})
        EXPECT_FALSE(editing.value(QString::fromLatin1(name), true)) << name;

    // No record: only new, view, summary, open and import.
    for (const char* name :
         {"tbrAdd", "tbrView", "tbrBrowse", "tbrOpenDB", "tbrFileImport", "tbrClipboardImport"})
        EXPECT_TRUE(empty.value(QString::fromLatin1(name))) << name;
    for (const char* name :
         {"tbrCopy", "tbrFirst", "tbrEdit", "tbrDelete", "tbrQuery", "tbrPrint", "tbrSave"})
        EXPECT_FALSE(empty.value(QString::fromLatin1(name), true)) << name;
}

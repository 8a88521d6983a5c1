#include "app/CommandTable.h"

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

// The rule of the table alone, as it will be once every command exists.
bool RuleEnabled(CommandId id, const CommandContext& context, bool toolbar = false)
{
    CommandInfo command = CommandOf(id);
    command.built = true;
    if (toolbar)
        command.menuNeedsDatabase = command.toolbarNeedsDatabase;
    return CommandEnabled(command, context);
}

CommandContext Context(bool databaseOpen, bool editing, bool noRecords)
{
    CommandContext c;
    c.databaseOpen = databaseOpen;
    c.editing = editing;
    c.noRecords = noRecords;
    return c;
}

} // namespace

TEST(CommandTable, ToolbarHasItsButtonsAndSeparatorsInOrder)
{
    const QList<ToolbarButton>& buttons = ToolbarButtons();
    ASSERT_EQ(buttons.size(), 25);
    QStringList keys;
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].position, i + 1);
        keys.append(buttons[i].key);
    }
    EXPECT_EQ(keys.join(QLatin1Char(',')),
              QStringLiteral(
                  "Cut,Copy,Paste,,OpenDB,FileImport,ClipboardImport,,Add,Print,"
                  "Delete,Query,Statistics,,Save,Cancel,,Edit,Browse,View,,First,Prev,Next,Last"));
    EXPECT_EQ(buttons[4].tooltip, QStringLiteral("Open Database"));
    EXPECT_EQ(buttons[11].tooltip, QStringLiteral("Search using Query Builder"));
    EXPECT_EQ(buttons[12].tooltip, QStringLiteral("Statistics of the records in the summary"));
    EXPECT_EQ(buttons[24].tooltip, QStringLiteral("Move to the last record"));
}

TEST(CommandTable, MenusInOrderWithRecentFilesAtTheEndOfFile)
{
    QStringList captions;
    for (const Menu& m : MainMenus())
        captions.append(m.caption);
    EXPECT_EQ(captions, (QStringList{"&File", "&Edit", "&Record", "&Options", "&Window", "&Help"}));

    const Menu& file = MenuNamed(QStringLiteral("mnuFile"));
    ASSERT_EQ(file.items.size(), 23);
    EXPECT_EQ(file.items[1].name, QStringLiteral("mnuFOpenDB"));
    EXPECT_EQ(file.items[3].name, QStringLiteral("mnuFCompactDB"));
    EXPECT_EQ(file.items[6].name, QStringLiteral("mnuFFetchMailbox"));
    EXPECT_EQ(file.items[7].name, QStringLiteral("mnuFSetImportFolder"));
    EXPECT_EQ(file.items[8].name, QStringLiteral("mnuFScanImportFolder"));
    EXPECT_EQ(file.items[17].caption, QStringLiteral("E&xit"));
    EXPECT_TRUE(file.items[18].IsSeparator());
    EXPECT_FALSE(file.items[18].initiallyVisible);
    for (int k = 1; k <= 4; ++k) {
        const MenuItem& recent = file.items[18 + k];
        EXPECT_EQ(recent.name, RecentFileItemName(k));
        EXPECT_EQ(recent.caption, QStringLiteral("RecentFile") + QString::number(k));
        EXPECT_FALSE(recent.initiallyVisible);
    }
}

TEST(CommandTable, RecordMenuPressesTheMatchingToolbarButtons)
{
    const Menu& record = MenuNamed(QStringLiteral("mnuResume"));
    QStringList keys;
    for (const MenuItem& item : record.items)
        keys.append(item.toolbarKey);
    // Positions 21, 22, 23, 24, 9, 17, 11, 14, 15, 19 and 18; the review of
    // duplicates and the search for a person's data have no button.
    EXPECT_EQ(keys, (QStringList{"First", "Prev", "Next", "Last", "Add", "Edit", "Delete", "Save",
                                 "Cancel", "View", "Browse", "", ""}));
    QSet<QString> toolbarKeys;
    for (const ToolbarButton& b : ToolbarButtons())
        toolbarKeys.insert(b.key);
    for (const QString& key : keys)
        EXPECT_TRUE(toolbarKeys.contains(key)) << key.toStdString();
}

TEST(CommandTable, NoDatabaseDisablesDatabaseCommandsOnly)
{
    const QMap<QString, bool> off = AsMap(CommandStates(Context(false, false, false)));
    const QMap<QString, bool> on = AsMap(CommandStates(Context(true, false, false)));
    EXPECT_EQ(off.keys(), on.keys());

    EXPECT_TRUE(off.value(QStringLiteral("tbrOpenDB")));
    EXPECT_TRUE(on.value(QStringLiteral("tbrOpenDB")));
    // Cut, Copy and Paste on the toolbar, and the New, Open, Exit, Window
    // and Help commands stay on.
    for (const char* untouched : {"tbrCut", "tbrCopy", "tbrPaste", "mnuFNewDB", "mnuFOpenDB",
                                  "mnuFExit", "mnuFPrinterSetup", "mnuFLoadConfig", "mnuWTile",
                                  "mnuHContents", "mnuFile", "mnuWindow", "mnuHelp"})
        EXPECT_TRUE(off.value(QString::fromLatin1(untouched), false)) << untouched;
    // The Options menu opens for the toolbar and the start-up preferences,
    // which need no database; its other entries do.
    for (const char* free : {"mnuOptions", "mnuOToolbar", "mnuOPreferences"})
        EXPECT_TRUE(off.value(QString::fromLatin1(free), false)) << free;
    EXPECT_FALSE(off.value(QStringLiteral("mnuOQueryBuilder"), true));

    for (const char* name :
         {"tbrFileImport", "tbrLast", "tbrQuery", "mnuEdit", "mnuEUndo", "mnuResume",
          "mnuRMoveNext", "mnuFCloseDB", "mnuFImportResume", "mnuFImportClipboard",
          "mnuFSaveResumeToDB", "mnuFDelimitedExport", "mnuFExportResume", "mnuFExportHTML",
          "mnuFPrintResume", "mnuFCompactDB", "mnuOChangeLog"})
        EXPECT_FALSE(off.value(QString::fromLatin1(name), true)) << name;
    // Opened, every command that exists is on; the toolbar buttons after
    // OpenDB all need the database.
    for (const char* name :
         {"tbrFileImport", "tbrLast", "mnuEdit", "mnuEUndo", "mnuResume", "mnuRMoveNext",
          "mnuOptions", "mnuOToolbar", "mnuFCloseDB", "mnuFImportResume", "tbrView", "tbrBrowse",
          "tbrEdit", "mnuFCompactDB", "mnuOChangeLog"})
        EXPECT_TRUE(on.value(QString::fromLatin1(name), false)) << name;
    for (const ToolbarButton& b : ToolbarButtons()) {
        if (!b.IsSeparator()) {
            EXPECT_EQ(CommandByKey(b.key)->toolbarNeedsDatabase, b.position >= 6)
                << b.key.toStdString();
        }
    }
}

TEST(CommandTable, EditStatesByLockAndRecords)
{
    const CommandContext viewing = Context(true, false, false);
    const CommandContext editing = Context(true, true, false);
    const CommandContext empty = Context(true, false, true);
    const CommandContext emptyEditing = Context(true, true, true);

    // Viewing a record: move and start editing, not save or cancel.
    for (CommandId id :
         {CommandId::MoveNext, CommandId::EditRecord, CommandId::NewRecord, CommandId::DeleteRecord,
          CommandId::QueryBuilder, CommandId::Print, CommandId::Copy, CommandId::OpenDatabase,
          CommandId::ImportFiles, CommandId::ViewRecord, CommandId::ViewSummary})
        EXPECT_TRUE(RuleEnabled(id, viewing)) << CommandOf(id).caption.toStdString();
    for (CommandId id :
         {CommandId::SaveRecord, CommandId::CancelChanges, CommandId::Cut, CommandId::Paste})
        EXPECT_FALSE(RuleEnabled(id, viewing)) << CommandOf(id).caption.toStdString();

    // Entering or editing: save, cancel, cut and paste, nothing that leaves the record.
    for (CommandId id : {CommandId::SaveRecord, CommandId::CancelChanges, CommandId::Cut,
                         CommandId::Paste, CommandId::Copy})
        EXPECT_TRUE(RuleEnabled(id, editing)) << CommandOf(id).caption.toStdString();
    for (CommandId id :
         {CommandId::MoveNext, CommandId::MoveFirst, CommandId::EditRecord, CommandId::NewRecord,
          CommandId::OpenDatabase, CommandId::ViewRecord, CommandId::ViewSummary, CommandId::Print,
          CommandId::ImportFiles, CommandId::ImportClipboard, CommandId::DeleteRecord,
          CommandId::QueryBuilder})
        EXPECT_FALSE(RuleEnabled(id, editing)) << CommandOf(id).caption.toStdString();

    // No record: only new, view, summary, open and import.
    for (CommandId id :
         {CommandId::NewRecord, CommandId::ViewRecord, CommandId::ViewSummary,
          CommandId::OpenDatabase, CommandId::ImportFiles, CommandId::ImportClipboard})
        EXPECT_TRUE(RuleEnabled(id, empty)) << CommandOf(id).caption.toStdString();
    for (CommandId id : {CommandId::Copy, CommandId::Cut, CommandId::MoveFirst,
                         CommandId::EditRecord, CommandId::DeleteRecord, CommandId::QueryBuilder,
                         CommandId::Print, CommandId::SaveRecord})
        EXPECT_FALSE(RuleEnabled(id, empty)) << CommandOf(id).caption.toStdString();
    // A new record in an empty database: save and cancel only.
    EXPECT_TRUE(RuleEnabled(CommandId::SaveRecord, emptyEditing));
    EXPECT_TRUE(RuleEnabled(CommandId::CancelChanges, emptyEditing));
    EXPECT_FALSE(RuleEnabled(CommandId::NewRecord, emptyEditing));
    EXPECT_FALSE(RuleEnabled(CommandId::Cut, emptyEditing));

    // The editing panel's buttons follow the editing state.
    EXPECT_TRUE(AsMap(CommandStates(editing)).value(QStringLiteral("cmdInsertEntry")));
    EXPECT_FALSE(AsMap(CommandStates(viewing)).value(QStringLiteral("cmdAddNew"), true));
}

TEST(CommandTable, ToolbarButtonAndMenuEntryOfOneCommandTakeOneState)
{
    // With a database open both presentations of a command agree in every state.
    for (bool editing : {false, true})
        for (bool noRecords : {false, true}) {
            const QMap<QString, bool> states =
                AsMap(CommandStates(Context(true, editing, noRecords)));
            for (const CommandInfo& c : Commands()) {
                if (c.key.isEmpty() || c.menuItem.isEmpty())
                    continue;
                EXPECT_EQ(states.value(ToolbarButtonName(c.key)), states.value(c.menuItem))
                    << c.key.toStdString() << " editing " << editing << " empty " << noRecords;
            }
        }
}

TEST(CommandTable, CommandsNotInTheProgramAreOffInEveryState)
{
    const QSet<QString> absent = {"mnuOSpellCheck", "mnuOFormDesigner", "mnuOArrangeSections"};
    for (bool open : {false, true})
        for (bool editing : {false, true})
            for (bool noRecords : {false, true}) {
                const QMap<QString, bool> states =
                    AsMap(CommandStates(Context(open, editing, noRecords)));
                for (const CommandInfo& c : Commands()) {
                    if (absent.contains(c.menuItem)) {
                        EXPECT_FALSE(c.built) << c.menuItem.toStdString();
                    }
                    if (c.built)
                        continue;
                    EXPECT_FALSE(states.value(c.menuItem, true)) << c.menuItem.toStdString();
                    if (!c.key.isEmpty()) {
                        EXPECT_FALSE(states.value(ToolbarButtonName(c.key), true))
                            << c.key.toStdString();
                    }
                }
            }
}

TEST(CommandTable, ShortcutsAndLookups)
{
    EXPECT_EQ(CommandOf(CommandId::OpenDatabase).shortcut, Shortcut::Open);
    EXPECT_EQ(CommandOf(CommandId::Exit).shortcut, Shortcut::Quit);
    EXPECT_EQ(CommandOf(CommandId::HelpContents).shortcut, Shortcut::HelpContents);
    EXPECT_EQ(CommandOf(CommandId::Tile).shortcut, Shortcut::None);
    EXPECT_EQ(CommandByKey(QStringLiteral("Browse"))->id, CommandId::ViewSummary);
    EXPECT_EQ(CommandByMenuItem(QStringLiteral("mnuOQueryBuilder"))->key, QStringLiteral("Query"));
    EXPECT_EQ(CommandByKey(QStringLiteral("Nothing")), nullptr);
    // Every command has a menu entry or a toolbar button, each name once.
    QSet<QString> names;
    for (const CommandInfo& c : Commands()) {
        EXPECT_FALSE(c.menuItem.isEmpty() && c.key.isEmpty());
        for (const QString& n : {c.menuItem, c.key})
            if (!n.isEmpty()) {
                EXPECT_FALSE(names.contains(n)) << n.toStdString();
                names.insert(n);
            }
    }
}

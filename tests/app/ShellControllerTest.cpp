#include "app/RecentFiles.h"
#include "session/Session.h"
#include "app/ShellController.h"
#include "database/ChangeLogBrowser.h"
#include "duplicates/DuplicateKeysSetting.h"
#include "privacy/PersonData.h"
#include "privacy/RetentionSetting.h"
#include "search/DuplicateReview.h"
#include "config/ConfigReader.h"
#include "session/RecordTables.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "responses/ClipboardImport.h"
#include "responses/DroppedResponses.h"
#include "database/SummaryNavigation.h"
#include "search/SummarySearch.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <functional>
#include <gtest/gtest.h>
#include <algorithm>

// The dispatcher and the command states without any window: a recording
// ShellView stands in for the main window.
namespace {

class RecordingShell : public ShellView, public NavigationTarget {
public:
    QStringList calls;
    QMap<QString, bool> states;
    bool toolbar = true;
    bool childActive = false;

    void ShowRecordWindows() override { calls.append("windows"); }
    bool viewerMade = true;
    bool HasChild(ChildKind child) const override
    {
        return child != ChildKind::Viewer || viewerMade;
    }
    void EndProgram() override { calls.append("end"); }
    void BringToFront(ChildKind child) override { calls.append("front " + Name(child)); }
    void CloseChild(ChildKind child) override { calls.append("close " + Name(child)); }
    bool IsActive(ChildKind child) const override { return active == child; }
    std::optional<ChildKind> active;
    void ShowOutputText(const std::optional<QString>& text) override
    {
        calls.append(text ? QStringLiteral("output text") : QStringLiteral("output kept"));
    }
    NavigationTarget* ActiveNavigationTarget() override { return childActive ? this : nullptr; }
    void Command1_Click(Navigation move) override
    {
        calls.append(QStringLiteral("child moves"));
        moves.append(move);
    }
    QList<Navigation> moves;
    void DoEdit(EditAction action) override
    {
        calls.append(QStringLiteral("edit"));
        edits.append(action);
    }
    QList<EditAction> edits;
    void ApplyCommandStates(const QList<CommandState>& list) override
    {
        for (const CommandState& s : list)
            states.insert(s.name, s.enabled);
    }
    void ShowRecentFiles(const QStringList& paths) override
    {
        calls.append("recent " + paths.join(QLatin1Char(',')));
    }
    bool ToolbarVisible() const override { return toolbar; }
    void SetToolbarVisible(bool visible) override { toolbar = visible; }
    void ShowStartupOptions(StartupOptions::Task task) override
    {
        calls.append(task == StartupOptions::SaveOptionsOnly ? QStringLiteral("save options")
                                                             : QStringLiteral("options"));
    }
    void CloseStartupOptions() override { calls.append("close options"); }
    void ShowHelpContents() override { calls.append("help"); }
    void ShowAbout() override { calls.append("about"); }
    void ShowPrinterSetup() override { calls.append("printer setup"); }
    void ShowOutputOptions(std::optional<OutputType> preset) override
    {
        calls.append(QStringLiteral("output options"));
        presets.append(preset);
    }
    QList<std::optional<OutputType>> presets;
    void TileChildren() override { calls.append("tile"); }
    void CascadeChildren() override { calls.append("cascade"); }
    void Exit() override { calls.append("exit"); }
    void ConfigurationLoaded() override { calls.append("configuration"); }
    void ShowClipboardImport(const QString& text) override { calls.append("clipboard " + text); }
    void ShowDuplicateReview(DuplicateReview& review) override
    {
        calls.append(QStringLiteral("review %1 group(s)").arg(review.GroupCount()));
    }
    void ShowStatistics() override { calls.append(QStringLiteral("statistics")); }
    void ShowChangeLog(ChangeLogBrowser& browser) override
    {
        calls.append(QStringLiteral("change log of %1 entries").arg(browser.RowCount()));
    }
    void ShowMailboxFetch() override { calls.append(QStringLiteral("mailbox fetch")); }
    QString chosenFolder;
    QString ChooseFolder(const QString&, const QString&) override
    {
        calls.append(QStringLiteral("choose folder"));
        return chosenFolder;
    }
    void ShowSummaryFields() override { calls.append(QStringLiteral("summary fields")); }
    void ShowDuplicateKeys(DuplicateKeysSetting& setting) override
    {
        calls.append(QStringLiteral("keys of %1 field(s)").arg(setting.FieldNames().size()));
    }
    void ShowRetention(RetentionSetting& setting) override
    {
        calls.append("retention " + DescribeRetentionRule(setting.Saved()));
    }
    void ShowPersonData(PersonData&) override { calls.append(QStringLiteral("person")); }
    void ShowSelectRecords(const QString& caption) override { calls.append("select " + caption); }
    std::vector<qint64> SummarySelectedRows() const override { return {}; }
    void ShowQueryBuilder() override { calls.append("query builder"); }

    static QString Name(ChildKind child)
    {
        switch (child) {
        case ChildKind::Viewer:
            return QStringLiteral("viewer");
        case ChildKind::Summary:
            return QStringLiteral("summary");
        case ChildKind::OutputViewer:
            return QStringLiteral("output");
        case ChildKind::QueryBuilder:
            return QStringLiteral("query");
        case ChildKind::Statistics:
            return QStringLiteral("statistics");
        }
        return {};
    }
};

class ShellControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecentFiles::ClearRecentFiles();
        QFile::copy(QStringLiteral(TALLOWMERE_PROGRAM_DIR "/Default_dat.rpt"),
                    dir.File(QStringLiteral("Default_dat.rpt")));
        shell.Bind(&view);
    }
    void TearDown() override { RecentFiles::ClearRecentFiles(); }

    QString Database(bool withRecords)
    {
        const QString path = dir.File(QStringLiteral("forms.fdb"));
        QStringList args{QStringLiteral("import"), path,
                         QStringLiteral(TALLOWMERE_RESOURCES "/samples/feedback.txt")};
        EXPECT_EQ(RunCli({QStringLiteral("create"), path}), 0);
        if (withRecords) {
            EXPECT_EQ(RunCli(args), 0);
        }
        return path;
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    RecordingShell view;
    ShellController shell{session};
};

} // namespace

TEST_F(ShellControllerTest, CommandsThatNeedADatabaseDoNothingWithoutOne)
{
    shell.SetNoDBMenus(true);
    for (CommandId id : {CommandId::MoveNext, CommandId::ViewSummary, CommandId::ViewRecord,
                         CommandId::CloseDatabase, CommandId::ImportFiles, CommandId::Undo,
                         CommandId::ChangeLog, CommandId::CompactDatabase})
        shell.Run(id);
    EXPECT_TRUE(view.calls.isEmpty()) << view.calls.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(view.states.value(QStringLiteral("mnuRMoveNext"), true));
    EXPECT_TRUE(view.states.value(QStringLiteral("tbrOpenDB")));

    // The frame's own commands and the start-up preferences work in any state.
    for (CommandId id :
         {CommandId::Tile, CommandId::Cascade, CommandId::HelpContents, CommandId::About,
          CommandId::PrinterSetup, CommandId::Preferences, CommandId::Exit})
        shell.Run(id);
    EXPECT_EQ(view.calls, (QStringList{"tile", "cascade", "help", "about", "printer setup",
                                       "save options", "exit"}));
    // Cut, Copy and Paste on the toolbar stay on with no database.
    view.calls.clear();
    shell.Toolbar1_ButtonClick(QStringLiteral("Copy"));
    EXPECT_EQ(view.calls, QStringList{"edit"});
    EXPECT_EQ(view.edits, QList<EditAction>{EditAction::Copy});
}

TEST_F(ShellControllerTest, AnUnboundWindowHearsNothingFromTheViewersCommands)
{
    // The controller outlives the main window: the viewer's commands must
    // not reach a window that has gone.
    shell.Viewer().Command1_Click(RecordViewerController::QueryBuilder);
    EXPECT_EQ(view.calls, QStringList{"query builder"});
    shell.Unbind();
    view.calls.clear();
    shell.Viewer().Command1_Click(RecordViewerController::QueryBuilder);
    EXPECT_TRUE(view.calls.isEmpty()) << view.calls.join(QLatin1Char('|')).toStdString();
}

TEST_F(ShellControllerTest, DuplicateCommandsOpenTheirWindowsOnlyWithSomethingToShow)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    view.calls.clear();
    shell.Run(CommandId::ReviewDuplicates);
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(ui.MessageTexts().size(), 1);
    shell.Run(CommandId::DuplicateKeys);
    EXPECT_EQ(view.calls, QStringList{"keys of 7 field(s)"});
    DuplicateKeysSetting setting(session);
    ASSERT_TRUE(setting.Load() && setting.Save({{"would_recommend"}, false, std::nullopt}));
    view.calls.clear();
    shell.Run(CommandId::ReviewDuplicates);
    EXPECT_EQ(view.calls, QStringList{"review 3 group(s)"});
    view.calls.clear();
    shell.Run(CommandId::Statistics);
    EXPECT_EQ(view.calls, QStringList{"statistics"});
    view.calls.clear();
    shell.Run(CommandId::FetchMailbox);
    EXPECT_EQ(view.calls, QStringList{"mailbox fetch"});
    view.calls.clear();
    EXPECT_TRUE(view.states.value(QStringLiteral("mnuOSelectFields"), false));
    shell.Run(CommandId::SelectSummaryFields);
    EXPECT_EQ(view.calls, QStringList{"summary fields"});
}

TEST_F(ShellControllerTest, OpeningADatabaseAsksBeforeApplyingItsRetentionRule)
{
    const QString path = Database(true);
    // The sample's records are dated by the file, today.
    SQLite::Database(path.toStdString(), SQLite::OPEN_READWRITE)
        .exec("UPDATE Forms SET Form_Date = '2020-01-01'");
    EXPECT_EQ(RunCli({QStringLiteral("retention"), path, QStringLiteral("--set"),
                      QStringLiteral("days=1,action=delete")}),
              0);
    const auto records = [&] {
        return session.Database.CurrentDatabase->Db()
            .execAndGet("SELECT count(*) FROM Forms")
            .getInt();
    };
    ui.QueueAnswer(MessageAnswer::No);
    ASSERT_TRUE(OpenResumeDatabase(session, path));
    QCoreApplication::processEvents();
    const int all = records();
    ASSERT_GT(all, 0);
    const QString question =
        QStringLiteral("%1 records are past the retention period of 1 day: delete them now?")
            .arg(all);
    EXPECT_EQ(ui.MessageTexts(), QStringList{question});
    shell.Run(CommandId::Retention);
    EXPECT_EQ(view.calls.last(), QStringLiteral("retention 1 day, then delete the record"));
    shell.Run(CommandId::FindPersonData);
    EXPECT_EQ(view.calls.last(), QStringLiteral("person"));

    ui.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(OpenResumeDatabase(session, path));
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.MessageTexts(), (QStringList{question, question}));
    EXPECT_EQ(records(), 0);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 0);
}

TEST_F(ShellControllerTest, ChangeLogShowsTheEntriesAndCompactSaysTheSizes)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    view.calls.clear();
    shell.Run(CommandId::ChangeLog);
    EXPECT_EQ(view.calls, QStringList{"change log of 1 entries"});
    ui.messages.clear();
    shell.Run(CommandId::CompactDatabase);
    ASSERT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_TRUE(ui.MessageTexts()[0].startsWith(QStringLiteral("Database compacted: ")))
        << ui.MessageTexts()[0].toStdString();
}

TEST_F(ShellControllerTest, CommandsNotInTheProgramNeverRun)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    view.calls.clear();
    for (CommandId id :
         {CommandId::SpellCheck, CommandId::FormDesigner, CommandId::ArrangeSections})
        shell.Run(id);
    EXPECT_TRUE(view.calls.isEmpty());
    for (const char* name : {"mnuOSpellCheck", "mnuOFormDesigner", "mnuOArrangeSections"})
        EXPECT_FALSE(view.states.value(QString::fromLatin1(name), true)) << name;
}

TEST_F(ShellControllerTest, OpeningADatabaseEnablesItsCommandsAndRecordsTheRecentFile)
{
    const QString path = Database(true);
    ASSERT_TRUE(OpenResumeDatabase(session, path));
    EXPECT_TRUE(shell.DatabaseOpen());
    EXPECT_TRUE(view.calls.contains("front summary"));
    // One entry in the recent list for one open.
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(), QStringList{path});
    EXPECT_EQ(view.calls.filter(QStringLiteral("recent ")).size(), 1);
    for (const char* on : {"mnuRMoveNext", "tbrNext", "tbrBrowse", "mnuFCloseDB", "mnuEdit"})
        EXPECT_TRUE(view.states.value(QString::fromLatin1(on), false)) << on;
    // Viewing a record: nothing to save or cancel.
    for (const char* off : {"tbrSave", "tbrCancel", "mnuRSaveResume", "tbrCut"})
        EXPECT_FALSE(view.states.value(QString::fromLatin1(off), true)) << off;
}

TEST_F(ShellControllerTest, AnEmptyDatabaseTurnsOffTheCommandsThatNeedARecord)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(false)));
    EXPECT_TRUE(shell.Context().noRecords);
    for (const char* off : {"tbrFirst", "mnuRMoveLast", "tbrEdit", "mnuREditResume", "tbrCopy"})
        EXPECT_FALSE(view.states.value(QString::fromLatin1(off), true)) << off;
    for (const char* on : {"tbrView", "tbrBrowse", "tbrOpenDB", "tbrFileImport"})
        EXPECT_TRUE(view.states.value(QString::fromLatin1(on), false)) << on;
}

TEST_F(ShellControllerTest, ToolbarKeysDispatchToTheirCommands)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    view.calls.clear();
    shell.Toolbar1_ButtonClick(QStringLiteral("Browse"));
    shell.Toolbar1_ButtonClick(QStringLiteral("Edit"));
    shell.Toolbar1_ButtonClick(QStringLiteral("View"));
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Viewing Record"));
    shell.Toolbar1_ButtonClick(QStringLiteral("Cut")); // off while viewing
    shell.Toolbar1_ButtonClick(QStringLiteral("NoSuchKey"));
    shell.Toolbar1_ButtonClick(QStringLiteral("Query"));
    shell.Run(CommandId::QueryBuilder);
    EXPECT_EQ(view.calls, (QStringList{"front summary", "front viewer", "output text",
                                       "query builder", "query builder"}));
    EXPECT_TRUE(session.Output.OutputText.contains(QStringLiteral("Record ID:")));
}

TEST_F(ShellControllerTest, NavigationGoesToTheActiveChildOrElseTheSummary)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    view.calls.clear();
    view.childActive = true;
    shell.Run(CommandId::MoveLast);
    EXPECT_EQ(view.calls, QStringList{"child moves"});
    EXPECT_EQ(view.moves, QList<Navigation>{Navigation::Last});
    EXPECT_EQ(session.Database.RecordCursor.Bookmark(), session.Database.SummaryRecords.Bookmark());

    view.childActive = false;
    shell.Run(CommandId::MoveLast);
    EXPECT_EQ(session.Database.SummaryRecords.Position(),
              session.Database.SummaryRecords.Count() - 1);
    EXPECT_EQ(session.Tables.GetArrayElement(RecordTables::kHeaderTable, 0), QStringLiteral("12"));
}

TEST_F(ShellControllerTest, ToolbarCommandFlipsTheToolbarAndPreferencesOpenOnSaveOnly)
{
    shell.SetNoDBMenus(false);
    shell.Run(CommandId::ToggleToolbar);
    EXPECT_FALSE(view.toolbar);
    shell.Run(CommandId::ToggleToolbar);
    EXPECT_TRUE(view.toolbar);
    shell.Run(CommandId::Preferences);
    EXPECT_EQ(view.calls, QStringList{"save options"});
}

TEST_F(ShellControllerTest, ClosingTheViewerClosesTheDatabaseAndTheOtherWindows)
{
    const QString path = Database(true);
    ASSERT_TRUE(OpenResumeDatabase(session, path));
    view.calls.clear();
    shell.ViewerClosed();
    EXPECT_FALSE(shell.DatabaseOpen());
    EXPECT_TRUE(session.Database.CurrentDatabasePath.isEmpty());
    EXPECT_EQ(view.calls.filter(QStringLiteral("close ")),
              (QStringList{"close summary", "close output", "close query", "close statistics",
                           "close options"}));
    EXPECT_FALSE(view.states.value(QStringLiteral("mnuResume"), true));
    EXPECT_EQ(RecentFiles::RecentFilesMenuItems(), QStringList{path});
}

TEST_F(ShellControllerTest, ClipboardImportOpensItsWindowWithTheClipboardText)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(false)));
    view.calls.clear();
    ui.clipboard = QStringLiteral("name=Ann");
    shell.Toolbar1_ButtonClick(QStringLiteral("ClipboardImport"));
    shell.Run(CommandId::ImportClipboard);
    EXPECT_EQ(view.calls, (QStringList{"clipboard name=Ann", "clipboard name=Ann"}));
    EXPECT_TRUE(view.states.value(QStringLiteral("mnuFImportClipboard"), false));
}

TEST_F(ShellControllerTest, TheProgramEndsWhenTheViewerCannotBeLaidOut)
{
    view.viewerMade = false;
    for (const bool readable : {false, true}) {
        SCOPED_TRACE(readable);
        if (readable) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg"),
                                    dir.File(QStringLiteral("default.cfg"))));
        }
        ShellController controller(session);
        controller.Bind(&view);
        view.calls.clear();
        ui.messages.clear();
        EXPECT_EQ(controller.ShowRecordWindows(), readable);
        EXPECT_EQ(controller.Ended(), !readable);
        EXPECT_EQ(view.calls, QStringList{readable ? "windows" : "end"});
        EXPECT_EQ(
            ui.MessageTexts(),
            readable
                ? QStringList()
                : QStringList{QStringLiteral(
                      "frmBrowser Load: Error reading Default.cfg: No such file or directory")});
    }
    // With the viewer there, the configuration is not read again.
    QFile::remove(dir.File(QStringLiteral("default.cfg")));
    view.viewerMade = true;
    EXPECT_TRUE(shell.ShowRecordWindows());
    EXPECT_FALSE(shell.Ended());
}

TEST_F(ShellControllerTest, EditCommandsActOnTheFocusedControl)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    // Cut and Paste are on only while a record is entered or edited.
    session.Database.RecordState |= DatabaseState::EditRecord;
    for (CommandId id : {CommandId::Undo, CommandId::Cut, CommandId::Copy, CommandId::Paste,
                         CommandId::EditDelete})
        shell.Run(id);
    EXPECT_EQ(view.edits, (QList<EditAction>{EditAction::Undo, EditAction::Cut, EditAction::Copy,
                                             EditAction::Paste, EditAction::Delete}));
}

TEST_F(ShellControllerTest, DropsFollowTheImportCommands)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(false)));
    view.calls.clear();
    DroppedResponses text;
    text.text = QStringLiteral("a=1");
    shell.DropOnWindow(text);
    EXPECT_EQ(view.calls, QStringList{"clipboard a=1"});

    // While a record is entered, nothing is imported and the user is told why.
    session.Database.RecordState |= DatabaseState::NewRecord;
    view.calls.clear();
    DroppedResponses files;
    files.files = QStringList{QStringLiteral(TALLOWMERE_RESOURCES "/samples/feedback.txt")};
    shell.DropOnWindow(files);
    shell.DropOnWindow(text);
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(ui.MessageTexts(),
              QStringList(2, "Save or cancel the changes to the record before importing."));
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 0);

    session.Database.RecordState &= ~DatabaseState::NewRecord;
    shell.DropOnWindow(files);
    EXPECT_EQ(session.Database.SummaryRecords.Count(), 12);
}

TEST_F(ShellControllerTest, OutputCommandsOpenTheOutputOptionsOnTheirTypes)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    view.calls.clear();
    shell.Run(CommandId::ExportDelimited);
    shell.Run(CommandId::ExportText);
    shell.Run(CommandId::ExportHtml);
    shell.Run(CommandId::CopyRecordsToClipboard);
    shell.Run(CommandId::Print);
    shell.Toolbar1_ButtonClick(QStringLiteral("Print"));
    EXPECT_EQ(view.presets,
              (QList<std::optional<OutputType>>{OutputType::DelimitedFile, OutputType::TextFile,
                                                OutputType::HtmlFile, OutputType::Clipboard,
                                                std::nullopt, std::nullopt}));
    // Print loads the summary's current record first.
    EXPECT_EQ(session.Tables.GetArrayElement(RecordTables::kHeaderTable, 0),
              QString::number(*session.Database.SummaryRecords.Bookmark()));
    for (const char* on : {"mnuFPrintResume", "tbrPrint", "mnuFDelimitedExport", "mnuFExportResume",
                           "mnuFExportHTML", "mnuECopyToClipboard"})
        EXPECT_TRUE(view.states.value(QString::fromLatin1(on), false)) << on;
}

TEST_F(ShellControllerTest, AfterEveryImportTheViewerShowsOneStoredRecordWhole)
{
    QFile::copy(QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg"),
                dir.File(QStringLiteral("default.cfg")));
    ASSERT_TRUE(LoadDefaultConfig(session));
    const QStringList mail{QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt"),
                           QStringLiteral(TALLOWMERE_RESOURCES "/samples/membership-01.txt")};
    // The record in memory, header and fields, as one text.
    const auto inMemory = [this] {
        const RecordTables& t = session.Tables;
        QString text = t.Header(RecordTables::FormIdColumn) + '|' +
                       t.Header(RecordTables::NameColumn) + '|' +
                       t.Header(RecordTables::NotesColumn);
        for (int row = 0; row < t.FieldCount(); ++row)
            text += '|' + t.Field(row, RecordTables::FieldNameColumn) + '=' +
                    t.Field(row, RecordTables::FieldValueColumn);
        return text;
    };
    const auto stored = [](const QString& path, qint64 formId) {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement header(db, "SELECT FormID, Form_Name, Form_Notes FROM Forms WHERE "
                                     "FormID=?");
        header.bind(1, static_cast<int64_t>(formId));
        QString text;
        if (header.executeStep())
            text = QString::number(formId) + '|' +
                   QString::fromStdString(header.getColumn(1).getString()) + '|' +
                   QString::fromStdString(header.getColumn(2).getString());
        SQLite::Statement fields(db, "SELECT Field_Name, Field_Value FROM Data WHERE FormID=? "
                                     "ORDER BY DataID");
        fields.bind(1, static_cast<int64_t>(formId));
        while (fields.executeStep())
            text += '|' + QString::fromStdString(fields.getColumn(0).getString()) + '=' +
                    QString::fromStdString(fields.getColumn(1).getString());
        return text;
    };
    QString shown; // what the viewer was last told to show
    QObject::connect(&session.Events, &SessionEvents::RecordLoaded, [&] { shown = inMemory(); });

    const auto importFiles = [&] {
        ui.QueueFiles(mail);
        shell.Run(CommandId::ImportFiles);
    };
    const struct {
        const char* kind;
        int summaryRows; // afterwards
        std::function<void()> import;
        bool searched = false; // the summary shows record 6 found by Quick Find
    } kinds[] = {
        {"file menu", 25, importFiles},
        {"file menu over a search result", 1, importFiles, true},
        {"drop", 25,
         [&] {
             DroppedResponses files;
             files.files = mail;
             shell.DropOnWindow(files);
         }},
        {"clipboard", 13,
         [&] {
             ui.clipboard = QStringLiteral("name=Ann+Lee&city=Rome");
             shell.Run(CommandId::ImportClipboard);
             // The clipboard import window's Import.
             ImportClipboardText(session, ui.clipboard);
         }},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const QString path = dir.File(QString::fromLatin1(k.kind) + QStringLiteral(".fdb"));
        ASSERT_EQ(RunCli({QStringLiteral("create"), path}), 0);
        ASSERT_EQ(RunCli({QStringLiteral("import"), path,
                          QStringLiteral(TALLOWMERE_RESOURCES "/samples/feedback.txt")}),
                  0);
        shell.OpenDatabaseFile(path);
        ASSERT_TRUE(SummaryRowChosen(session, 6));
        if (k.searched) {
            ASSERT_TRUE(FillQuickFindCombo(session));
            const auto& entries = session.Search.QuickFindEntries;
            const auto name = std::find_if(entries.begin(), entries.end(), [](const auto& e) {
                return e.text == QStringLiteral("Record Name");
            });
            ASSERT_TRUE(QuickFindSearch(session, static_cast<int>(name - entries.begin()),
                                        QStringLiteral("Bruno*")));
        }
        // A note typed on record 6 is stored when the import leaves it.
        shell.Viewer().HeaderEdited(4, QStringLiteral("seen before the import"));
        k.import();
        EXPECT_EQ(session.Database.SummaryRecords.Count(), k.summaryRows);
        const qint64 formId = session.Tables.Header(RecordTables::FormIdColumn).toLongLong();
        EXPECT_EQ(formId, k.searched ? 6 : k.summaryRows); // or the last record stored
        EXPECT_EQ(session.Database.RecordCursor.Bookmark(), formId);
        EXPECT_EQ(session.Database.SummaryRecords.Bookmark(), formId);
        EXPECT_EQ(shown, inMemory());
        EXPECT_EQ(shown, stored(path, formId));
        EXPECT_TRUE(stored(path, 6).contains(QStringLiteral("|seen before the import")));
        shell.ViewerClosed();
    }
}

TEST_F(ShellControllerTest, AResultStaysInTheStatusBarUntilTheNextCommand)
{
    ASSERT_TRUE(OpenResumeDatabase(session, Database(true)));
    ASSERT_TRUE(FillQuickFindCombo(session));
    view.active = ChildKind::Summary;
    ui.ShowWindowStatus(QStringLiteral("Summary of Records"));
    const QString target = dir.File(QStringLiteral("copy.fdb"));
    const int records = int(session.Database.SummaryRecords.Count());
    // Each command, then its window coming to the front again as its
    // dialogs close.
    const struct {
        std::function<void()> command;
        QString window, result;
    } cases[] = {
        {[&] {
             session.Selection = {RecordSelection::kAllRecords, 0};
             ui.QueueFiles({target});
             ui.QueueAnswer(MessageAnswer::Yes);
             shell.Run(CommandId::TransferRecords);
         },
         "Summary of Records", QString::number(records) + " record(s) saved to " + target},
        {[&] {
             view.active = ChildKind::Viewer;
             shell.Run(CommandId::EditRecord);
             ui.QueueAnswer(MessageAnswer::Yes);
             shell.Run(CommandId::CancelChanges);
         },
         "Editing record", "Changes Cancelled"},
        {[&] { QuickFindSearch(session, 0, QStringLiteral("99999")); }, "Summary of Records",
         "No record found"},
    };
    for (const auto& c : cases) {
        c.command();
        ui.ShowWindowStatus(c.window);
        EXPECT_EQ(ui.StatusText(), c.result);
        // The next command replaces it.
        shell.Run(CommandId::ViewSummary);
        EXPECT_NE(ui.StatusText(), c.result);
    }
    // Clear Search brings every record back and the "No record found" goes.
    QuickFindSearch(session, 0, QStringLiteral("99999"));
    ClearSearch(session, 0, QString());
    EXPECT_EQ(int(session.Database.SummaryRecords.Count()), records);
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Summary of Records"));
}

// The database's import folder: chosen once, scanned on the command, on
// opening and when a file arrives while it is watched.
TEST_F(ShellControllerTest, TheImportFolderIsScannedOnCommandOnOpeningAndWhenWatched)
{
    const QString db = Database(false);
    ASSERT_TRUE(OpenResumeDatabase(session, db));
    const auto records = [&] { return session.Database.SummaryRecords.Count(); };
    view.calls.clear();
    shell.Run(CommandId::ScanImportFolder);
    EXPECT_EQ(view.calls, QStringList{"choose folder"});
    EXPECT_EQ(ui.StatusText(), QStringLiteral("Set import folder cancelled"));

    view.chosenFolder = dir.File(QStringLiteral("drop"));
    ASSERT_TRUE(QDir().mkpath(view.chosenFolder));
    dir.Write(QStringLiteral("drop/a.txt"), "name=Ann\r\n\r\n");
    ui.messages.clear();
    shell.Run(CommandId::SetImportFolder);
    EXPECT_EQ(records(), 1);
    EXPECT_EQ(ui.MessageTexts(), QStringList{"Import finished: 1 read: 1 with responses (1 "
                                             "record(s) stored), 0 already imported, 0 without a "
                                             "response, 0 failed"});
    shell.Run(CommandId::ScanImportFolder);
    EXPECT_TRUE(ui.MessageTexts().last().startsWith(QStringLiteral("Import finished: 0 read")));

    dir.Write(QStringLiteral("drop/b.txt"), "name=Bob\r\n\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return records() == 2; }, 10000));
    EXPECT_TRUE(
        ui.StatusText().endsWith(QStringLiteral("; import folder: 1 read: 1 with responses (1 "
                                                "record(s) stored), 0 already imported, 0 "
                                                "without a response, 0 failed")))
        << ui.StatusText().toStdString();

    shell.ViewerClosed();
    dir.Write(QStringLiteral("drop/c.txt"), "name=Cy\r\n\r\n");
    shell.OpenDatabaseFile(db);
    EXPECT_TRUE(QTest::qWaitFor([&] { return records() == 3; }, 10000));
}

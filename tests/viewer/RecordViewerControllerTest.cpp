#include "session/Session.h"
#include "config/ConfigReader.h"
#include "database/DatabaseOpening.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/WindowTestFolder.h"
#include "viewer/RecordViewerController.h"
#include "database/UnsavedRecord.h"

#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

// The viewer's logic without a window: a view that keeps the box texts
// and locks the controller gives it, as the record viewer does.
namespace {

class BoxesView : public RecordViewerView {
public:
    BoxesView(Session& session, RecordViewerController& viewer) : m_session(session), m(viewer) {}

    void ShowHeaderBox(int box, const QString& text) override
    {
        header[static_cast<size_t>(box)] = text;
        filledAsTyping |= !m_session.Database.SuppressChangeEvents;
        // A box that reported the program's text as typing.
        if (echoHeader && box > 0)
            m.HeaderEdited(box, text + QStringLiteral(" echoed"));
    }
    void ShowLoadedRecord() override { filledAsTyping |= !m_session.Database.SuppressChangeEvents; }
    void LockText(bool lockHeader, bool lockFields) override
    {
        headerLocked = lockHeader;
        fieldsLocked = lockFields;
    }
    QString HeaderBoxText(int box) const override { return header[static_cast<size_t>(box)]; }
    void ShowFieldList(const QStringList&, int) override {}
    void ShowEditorBox(int, const QString&) override {}
    void FocusEditorBox(int) override {}
    void FocusHeaderBox(int) override {}
    void RefreshFieldGrid() override
    {
        ++gridRefreshes;
        // A value box refilled from the grid reports its text as a change.
        if (echoValue)
            m.ValueEdited(0, m_session.Tables.Field(0, RecordTables::FieldValueColumn));
    }
    // Typing in a header box, as the box reports it.
    void Type(int box, const QString& text)
    {
        header[static_cast<size_t>(box)] = text;
        m.HeaderEdited(box, text);
    }

    std::array<QString, ViewerLayout::kHeaderItems> header;
    bool headerLocked = true, fieldsLocked = true, echoValue = false, echoHeader = false;
    bool filledAsTyping = false;
    int gridRefreshes = 0;

private:
    Session& m_session;
    RecordViewerController& m;
};

class RecordViewerControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareProgramFolder(dir, Templates::None);
        database = MakeSampleDatabase(dir, QStringLiteral("forms.fdb"));
        ASSERT_TRUE(LoadDefaultConfig(session));
        viewer.SetView(&view);
        QObject::connect(&session.Events, &SessionEvents::RecordLoaded,
                         [this] { viewer.RecordLoaded(); });
        ASSERT_TRUE(OpenResumeDatabase(session, database));
    }
    QString Stored(const char* column, int formId)
    {
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        return QString::fromStdString(
            db.execAndGet(QStringLiteral("SELECT %1 FROM Forms WHERE FormID=%2")
                              .arg(QString::fromLatin1(column))
                              .arg(formId)
                              .toStdString())
                .getString());
    }
    QString Shown() const { return session.Tables.Header(RecordTables::FormIdColumn); }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui, dir.Folders(), Regional(TestLocale())};
    RecordViewerController viewer{session};
    BoxesView view{session, viewer};
    QString database;
    // Header items of default.cfg.
    static constexpr int kName = 1, kSource = 2, kNotes = 4;
};

} // namespace

TEST_F(RecordViewerControllerTest, ValueBoxTextReachesTheFieldOnlyWhileEnteringOrEditing)
{
    // Typing, a pasted second line, a deleted character and everything deleted.
    const QStringList typed{QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("ab\nline 2"),
                            QStringLiteral("ab\nline "), QString()};
    const struct {
        const char* state;
        RecordViewerController::Code start; // None: the view state
    } states[] = {{"view", RecordViewerController::None},
                  {"edit", RecordViewerController::Edit},
                  {"new", RecordViewerController::New}};
    for (const auto& s : states) {
        SCOPED_TRACE(s.state);
        viewer.Command1_Click(Navigation::First);
        if (s.start != RecordViewerController::None)
            viewer.Command1_Click(s.start);
        if (s.start == RecordViewerController::New)
            viewer.EditorEdited(0, QStringLiteral("comment")); // the new record's first field
        EXPECT_EQ(view.fieldsLocked, s.start == RecordViewerController::None);
        EXPECT_FALSE(view.headerLocked);
        const QString before = session.Tables.Field(0, RecordTables::FieldValueColumn);
        view.gridRefreshes = 0;
        view.echoValue = true;
        for (const QString& text : typed) {
            viewer.ValueEdited(0, text);
            const QString expected =
                s.start == RecordViewerController::None
                    ? before
                    : QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
            EXPECT_EQ(session.Tables.Field(0, RecordTables::FieldValueColumn), expected);
        }
        view.echoValue = false;
        EXPECT_EQ(view.gridRefreshes,
                  s.start == RecordViewerController::None ? 0 : static_cast<int>(typed.size()));
        EXPECT_EQ(session.Database.RecordUnchanged, s.start == RecordViewerController::None);
        if (s.start != RecordViewerController::None) {
            ui.QueueAnswer(MessageAnswer::Yes);
            viewer.Command1_Click(RecordViewerController::Cancel);
        }
    }
}

TEST_F(RecordViewerControllerTest, LeavingARecordAsksAboutHeaderChangesButStoresNotes)
{
    const QString name = Stored("Form_Name", 1);
    const QString source = Stored("File_Name", 1);
    const struct {
        const char* what;
        int box;              // the box changed besides the notes; 0 none
        MessageAnswer answer; // to the question, when there is one
        bool stored;          // the changed box reached the file
        bool moved;           // the viewer went on to the next record
    } cases[] = {
        {"notes only", 0, MessageAnswer::Yes, false, true},
        {"name, yes", kName, MessageAnswer::Yes, true, true},
        {"source, no", kSource, MessageAnswer::No, false, true},
        {"name, cancel", kName, MessageAnswer::Cancel, false, false},
    };
    QString storedName = name, storedSource = source, storedNote;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        viewer.Command1_Click(Navigation::First);
        ASSERT_EQ(Shown(), QStringLiteral("1"));
        ui.messages.clear();
        const QString note = QStringLiteral("note: ") + QString::fromLatin1(c.what);
        const QString typed = QStringLiteral("c/typed/t2.fdby ") + QString::fromLatin1(c.what);
        view.Type(kNotes, note);
        if (c.box) {
            view.Type(c.box, typed);
            ui.QueueAnswer(c.answer);
        }
        viewer.Command1_Click(Navigation::Next);
        EXPECT_EQ(ui.MessageTexts(),
                  c.box ? QStringList{QStringLiteral(
                              "Do you want to save the changes made to this Record?")}
                        : QStringList());
        EXPECT_EQ(Shown(), c.moved ? QStringLiteral("2") : QStringLiteral("1"));
        if (c.stored)
            (c.box == kName ? storedName : storedSource) = typed;
        EXPECT_EQ(Stored("Form_Name", 1), storedName);
        EXPECT_EQ(Stored("File_Name", 1), storedSource);
        // Notes are kept as typed whatever becomes of the other boxes; a user
        // who stays keeps them on screen.
        if (c.moved)
            storedNote = note;
        EXPECT_EQ(Stored("Form_Notes", 1), storedNote);
        if (!c.moved) {
            EXPECT_EQ(view.HeaderBoxText(c.box), typed);
            EXPECT_EQ(session.Tables.Header(RecordTables::NotesColumn), note);
            ui.QueueAnswer(MessageAnswer::No);
        }
    }
}

TEST_F(RecordViewerControllerTest, LeavingANewOrEditedRecordSavesDiscardsOrStaysAsAnswered)
{
    const QString name = Stored("Form_Name", 1);
    const QString newQuestion =
        QStringLiteral("Do you want to save the new Record before leaving it?");
    const QString editQuestion =
        QStringLiteral("Do you want to save the changes made to this Record?");
    const struct {
        RecordViewerController::Code mode;
        MessageAnswer answer;
        bool leaves;
        int records;     // in the file afterwards
        bool nameStored; // an edit's typed name reached record 1
    } cases[] = {
        {RecordViewerController::New, MessageAnswer::Cancel, false, 12, false},
        {RecordViewerController::New, MessageAnswer::No, true, 12, false},
        {RecordViewerController::New, MessageAnswer::Yes, true, 13, false},
        {RecordViewerController::Edit, MessageAnswer::Cancel, false, 13, false},
        {RecordViewerController::Edit, MessageAnswer::No, true, 13, false},
        {RecordViewerController::Edit, MessageAnswer::Yes, true, 13, true},
    };
    const auto count = [&] {
        SQLite::Database db(database.toStdString(), SQLite::OPEN_READONLY);
        return db.execAndGet("SELECT COUNT(*) FROM Forms").getInt();
    };
    for (const auto& c : cases) {
        const bool isNew = c.mode == RecordViewerController::New;
        SCOPED_TRACE(std::string(isNew ? "new " : "edit ") + std::to_string(int(c.answer)));
        viewer.Command1_Click(Navigation::First);
        viewer.Command1_Click(c.mode);
        if (isNew)
            viewer.EditorEdited(0, QStringLiteral("comment"));
        const QString typed = QStringLiteral("Typed while ") + (isNew ? "new" : "editing");
        view.Type(kName, typed);
        ui.messages.clear();
        ui.QueueAnswer(c.answer);
        EXPECT_EQ(StoreUnsavedRecord(session), c.leaves);
        EXPECT_EQ(ui.MessageTexts(), QStringList{isNew ? newQuestion : editQuestion});
        EXPECT_EQ(count(), c.records);
        EXPECT_EQ(Stored("Form_Name", 1), c.nameStored ? typed : name);
        const int mode =
            session.Database.RecordState & (DatabaseState::NewRecord | DatabaseState::EditRecord);
        EXPECT_EQ(mode != 0, !c.leaves);
        if (!c.leaves) {
            // Everything typed is still there for the user to go on with.
            EXPECT_EQ(view.HeaderBoxText(kName), typed);
            EXPECT_EQ(session.Tables.Header(RecordTables::NameColumn), typed);
            ui.QueueAnswer(MessageAnswer::No);
            EXPECT_TRUE(StoreUnsavedRecord(session));
        }
        if (isNew && c.records == 13) {
            EXPECT_EQ(Stored("Form_Name", 13), typed);
        }
        // Unchanged, nothing is asked.
        ui.messages.clear();
        viewer.Command1_Click(Navigation::First);
        EXPECT_TRUE(StoreUnsavedRecord(session));
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(RecordViewerControllerTest, AReadRecordFillsEachHeaderBoxFromItsColumnAsTheProgramsText)
{
    view.header.fill(QStringLiteral("stale"));
    view.echoHeader = true;
    int unmapped = 0;
    for (const auto move : {Navigation::Last, Navigation::First}) {
        SCOPED_TRACE(int(move));
        view.filledAsTyping = false;
        viewer.Command1_Click(move);
        EXPECT_FALSE(view.filledAsTyping);
        EXPECT_FALSE(session.Database.SuppressChangeEvents);
        EXPECT_TRUE(session.Database.RecordUnchanged);
        EXPECT_EQ(view.header[0], Shown());
        for (int box = 1; box < ViewerLayout::kHeaderItems; ++box) {
            const qint16 column = session.Config.HeaderItemColumn[static_cast<size_t>(box)];
            unmapped += column == FormConfig::kNoColumn;
            EXPECT_EQ(view.header[static_cast<size_t>(box)],
                      column == FormConfig::kNoColumn ? QString() : session.Tables.Header(column))
                << box;
        }
    }
    EXPECT_GT(unmapped, 0); // the configuration leaves boxes without a column
    EXPECT_EQ(Stored("Form_Name", 1), view.header[kName]);
}

TEST_F(RecordViewerControllerTest, TheConfigurationLabelsTheBoxesItPlacesAndHidesTheOthers)
{
    session.Config = FormConfig();
    QString error;
    ASSERT_TRUE(
        ReadConfigText(QStringLiteral("F|0|Who|Name|0|0|0|0|0|M|1.1|Form_Name|L.1||\n||\n"
                                      "F|0|Notes|Notes|1|0|0|0|0|M|1.2|Form_Notes|L.4||\n||\n"
                                      "F|0|Value|Value|0|0|0|0|0|M|2.2|Field_Value|G0.1||\n||\n"),
                       session.Tables, session.Config, &error))
        << error.toStdString();
    using L = ViewerLabel;
    // The record number keeps its colour when nothing configures it.
    const HeaderItemLabel expected[ViewerLayout::kHeaderItems] = {
        {true, L{QStringLiteral("Record ID"), std::nullopt}},
        {true, L{QStringLiteral("Who"), true}},
        {},
        {},
        {true, L{QStringLiteral("Notes"), false}},
        {}};
    for (int item = 0; item < ViewerLayout::kHeaderItems; ++item)
        EXPECT_TRUE(viewer.HeaderLabel(item) == expected[item]) << item;
    EXPECT_EQ(viewer.PanelTitle(), std::nullopt);
    EXPECT_EQ(viewer.EditorLabel(0), std::nullopt);
    EXPECT_TRUE(viewer.EditorLabel(1) == (L{QStringLiteral("Value"), true}));
}

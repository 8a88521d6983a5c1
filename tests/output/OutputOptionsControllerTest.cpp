#include "OutputFixture.h"

#include "output/OutputFieldList.h"
#include "output/OutputOptions.h"
#include "output/TemplateList.h"
#include "session/RecordSelection.h"

#include <QDir>
#include <QFile>

// The Output Options choices without the dialog: what each choice does to
// the run, and which of them outlast the program.
class OutputOptionsControllerTest : public OutputFixture {
protected:
    OutputOptionsControllerTest()
        : program(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), dir.Path()),
                  Regional(TestLocale()))
    {
        ListTemplates(program);
        FillOutputFieldList(
            program.Output,
            {{QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Name")}},
            QStringLiteral("Email\r\n"));
        rows.ids = {3, 8, 12};
        rows.current = 8;
    }
    // Runs to the clipboard; the records loaded, in order.
    QList<qint32> Run(OutputOptionsController& options)
    {
        QList<qint32> loaded;
        options.SetType(OutputType::Clipboard);
        last = options.Run(rows, nullptr, [&](qint32 id) {
            loaded.append(id);
            program.Tables.ClearRecordTables();
            program.Tables.PutArrayElement(RecordTables::kHeaderTable, 0, QString::number(id));
            return true;
        });
        return loaded;
    }

    Session program;
    SummaryRows rows;
    OutputResult last;
};

TEST_F(OutputOptionsControllerTest, RecordChoicesPickTheRecordsAndABadRangeKeepsTheDialog)
{
    using Records = OutputOptionsController::Records;
    const struct {
        Records records;
        std::vector<qint64> selected;
        const char *from, *to;
        RecordSelection selection; // afterwards
        QList<qint32> loaded;
        QString message; // shown instead of a run
    } cases[] = {
        {Records::kCurrentOnly, {}, "1", "1", {-3, 0}, {8}, {}},
        {Records::kAll, {}, "1", "1", {-2, 0}, {3, 8, 12}, {}},
        {Records::kSelected, {3, 12}, "1", "1", {-1, 0}, {3, 12}, {}},
        {Records::kIdRange, {}, " 4", "12 ", {4, 12}, {8, 12}, {}},
        {Records::kIdRange, {}, "5", "3", {4, 12}, {}, SelectionMessages::kFromAfterTo},
        {Records::kIdRange,
         {},
         "x",
         "3",
         {4, 12},
         {},
         QStringLiteral("Output Error: Type mismatch: 'x' is not a whole number")},
    };
    OutputOptionsController options(program);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + ".." + c.to);
        ui.messages.clear();
        rows.selected = c.selected;
        options.records = c.records;
        options.txtFrom = QString::fromLatin1(c.from);
        options.txtTo = QString::fromLatin1(c.to);
        EXPECT_EQ(Run(options), c.loaded);
        EXPECT_EQ(program.Selection, c.selection);
        EXPECT_EQ(ui.MessageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(OutputOptionsController::ClosesDialog(last), c.message.isEmpty());
        if (c.message.isEmpty()) {
            EXPECT_EQ(ui.StatusText(),
                      QString::number(c.loaded.size()) + " record(s) copied to clipboard");
        }
    }
}

TEST_F(OutputOptionsControllerTest, EachTypeListsItsTemplatesAndEnablesItsOptions)
{
    OutputOptionsController options(program);
    const TemplateList& list = program.Output.Templates;
    for (int t = 0; t <= int(OutputType::DelimitedFile); ++t) {
        const auto type = static_cast<OutputType>(t);
        SCOPED_TRACE(t);
        options.SetType(type);
        const QList<int> expected = list.ForOutputType(t);
        ASSERT_EQ(options.Templates().size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_EQ(options.Templates()[i].name, list.Name(expected[i]));
        EXPECT_EQ(options.ChosenTemplate(), expected.isEmpty() ? -1 : 0);
        EXPECT_EQ(options.DelimitedOptionsEnabled(), type == OutputType::DelimitedFile);
        EXPECT_EQ(options.PageOptionsEnabled(), type == OutputType::Printer);
    }
    options.SetType(OutputType::Printer);
    ASSERT_FALSE(options.Templates().isEmpty());
    EXPECT_EQ(options.Description(), list.Description(options.Templates()[0].number));
    for (const int row : {-1, int(options.Templates().size())}) {
        options.ChooseTemplate(row);
        EXPECT_EQ(options.ChosenTemplate(), -1);
        EXPECT_EQ(options.Description(), QString());
    }
    // Activation keeps the user's choice while the type stays.
    options.ChooseTemplate(int(options.Templates().size()) - 1);
    options.Activate();
    EXPECT_EQ(options.ChosenTemplate(), int(options.Templates().size()) - 1);
}

TEST_F(OutputOptionsControllerTest, FormulaProtectionAndWholeRecordsAreRememberedOrSaySoWhenNot)
{
    {
        OutputOptionsController first(program);
        EXPECT_TRUE(first.ProtectFormulas());
        EXPECT_TRUE(first.KeepRecordsWhole());
        first.SetProtectFormulas(false);
        first.SetKeepRecordsWhole(false);
        first.SetRfc4180Quoting(true);
        first.SetFieldNamesFirstLine(true);
        EXPECT_TRUE(program.Output.Rfc4180Quoting && program.Output.FieldNamesFirstLine);
    }
    Session later(ui, program.Folders, Regional(TestLocale()));
    OutputOptionsController second(later);
    EXPECT_FALSE(second.ProtectFormulas());
    EXPECT_FALSE(second.KeepRecordsWhole());
    EXPECT_FALSE(second.Rfc4180Quoting() || second.FieldNamesFirstLine()); // this run only
    EXPECT_TRUE(ui.messages.isEmpty());

    // A settings file that cannot be written: the choice still holds for
    // this run, and the user is told why it will not last.
    const QString settings = program.Folders.SettingsFile();
    ASSERT_TRUE(QFile::remove(settings));
    ASSERT_TRUE(QDir().mkpath(settings)); // a folder in its place
    second.SetProtectFormulas(true);
    second.SetKeepRecordsWhole(true);
    EXPECT_TRUE(second.ProtectFormulas() && second.KeepRecordsWhole());
    ASSERT_EQ(ui.messages.size(), 2);
    for (const auto& m : ui.messages)
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("Error reading/writing Tallowmere.ini: ")) &&
                    m.text.size() > 38)
            << m.text.toStdString();
}

TEST_F(OutputOptionsControllerTest, FieldsShownInTheSummaryTickOnlyTheColumnsShown)
{
    OutputOptionsController options(program);
    const struct {
        QList<bool> headerShown;
        QStringList fieldColumns;
        QList<bool> ticked; // Name, Email
    } cases[] = {
        {{true, true, false, true, false}, {}, {true, false}},
        {{true, false, true, true, false}, {"Email"}, {false, true}},
    };
    for (const auto& c : cases) {
        rows.headerShown = c.headerShown;
        program.Database.SummaryView.FieldColumns = c.fieldColumns;
        options.TickSummaryFields(rows);
        QList<bool> ticked;
        for (const auto& field : options.Fields())
            ticked.append(field.ticked);
        EXPECT_EQ(ticked, c.ticked);
    }
}

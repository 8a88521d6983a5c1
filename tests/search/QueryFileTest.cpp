#include "search/QueryFile.h"
#include "search/QueryFields.h"
#include "support/TempDir.h"

#include "config/ConfigReader.h"
#include "platform/IniFile.h"
#include "platform/ScriptedUi.h"
#include "session/RecordTables.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

RecordFieldLookup NothingConfigured(const QString&)
{
    return {};
}

QueryGrid SampleGrid()
{
    QueryRow first;
    first[kFieldNameColumn] = QStringLiteral("Record Name");
    first[kOperatorColumn] = QStringLiteral("LIKE");
    first[kValueColumn] = QStringLiteral("a*");
    first[kDatabaseFieldColumn] = QStringLiteral("Forms.Form_Name");
    first[kDataTypeColumn] = QStringLiteral("T");
    first[kTableColumn] = QStringLiteral("Forms");
    first[kChoicesColumn] = QStringLiteral("never saved");
    QueryRow second;
    second[kOpenBrackets] = QStringLiteral("((");
    second[kNotColumn] = QStringLiteral("NOT");
    second[kFieldNameColumn] = QStringLiteral("Email");
    second[kOperatorColumn] = QStringLiteral("<>");
    second[kValueColumn] = QStringLiteral("say \"hi\" [*]");
    second[kCloseBrackets] = QStringLiteral("))");
    second[kConnectorColumn] = QStringLiteral("OR");
    second[kDatabaseFieldColumn] = QStringLiteral("Field_Value");
    second[kDataTypeColumn] = QStringLiteral("M");
    second[kTableColumn] = QStringLiteral("Data");
    return {first, second};
}

TEST(QueryFile, SaveWritesTheLayoutAndAStatusText)
{
    TempDir dir;
    ScriptedUi ui;
    const QString path = dir.File(QStringLiteral("q.qry"));
    ui.QueueFiles({path});
    ASSERT_TRUE(SaveQueryFile(ui, SampleGrid()));
    ASSERT_EQ(ui.saveRequests.size(), 1);
    const FileDialogRequest& request = ui.saveRequests[0];
    EXPECT_EQ(request.title, QStringLiteral("Save Query..."));
    EXPECT_EQ(request.proposedName, QStringLiteral("*.qry"));
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(request.filters[1].pattern, QStringLiteral("*.qry"));
    EXPECT_EQ(ui.statusTexts.last(), QStringLiteral("Query saved to ") + path);

    const QString text = QString::fromUtf8(dir.Read(QStringLiteral("q.qry")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Tallowmere]")));
    EXPECT_TRUE(text.contains(QStringLiteral("Version=1.9")));
    EXPECT_TRUE(text.contains(QStringLiteral("Rows= 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("Columns= 7")));
    // Row 0 in write order, and no key for an empty cell.
    const qsizetype row0 = text.indexOf(QStringLiteral("[Row 0]"));
    const qsizetype row1 = text.indexOf(QStringLiteral("[Row 1]"));
    ASSERT_GE(row0, 0);
    ASSERT_GT(row1, row0);
    const QString section0 = text.mid(row0, row1 - row0);
    QStringList keys;
    for (const QString& line :
         section0.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts))
        if (line.contains(QLatin1Char('=')))
            keys.append(line.section(QLatin1Char('='), 0, 0));
    EXPECT_EQ(keys, (QStringList{"VB", "Operator", "Value", "DB", "Type", "TableName"}));
    EXPECT_FALSE(text.contains(QStringLiteral("never saved")));
}

TEST(QueryFile, OverwritingAsksFirst)
{
    TempDir dir;
    const QString path = dir.Write(QStringLiteral("q.qry"), "old");
    ScriptedUi ui;
    ui.QueueFiles({path});
    ui.QueueAnswer(MessageAnswer::No);
    EXPECT_FALSE(SaveQueryFile(ui, SampleGrid()));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("File ") + path +
                  QStringLiteral(" already exists. Do you wish to overwrite it?"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dir.Read(QStringLiteral("q.qry")), QByteArray("old"));

    ui.QueueFiles({path});
    ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(SaveQueryFile(ui, SampleGrid()));
    EXPECT_NE(dir.Read(QStringLiteral("q.qry")), QByteArray("old"));

    ui.QueueCancel();
    EXPECT_FALSE(SaveQueryFile(ui, SampleGrid()));
    EXPECT_EQ(ui.messages.size(), 2);
}

TEST(QueryFile, SaveThenLoadReproducesColumnsZeroToNine)
{
    TempDir dir;
    ScriptedUi ui;
    const QString path = dir.File(QStringLiteral("q.qry"));
    ASSERT_TRUE(WriteQueryFile(ui, path, SampleGrid()));
    QueryGrid loaded;
    int columns = 0;
    ui.QueueFiles({path});
    ASSERT_TRUE(LoadQueryFile(ui, loaded, columns, NothingConfigured));
    EXPECT_EQ(ui.openRequests[0].title, QStringLiteral("Load Query..."));
    EXPECT_EQ(columns, 7);
    QueryGrid expected = SampleGrid();
    expected[0][kChoicesColumn].clear(); // recomputed, not saved
    EXPECT_EQ(loaded, expected);
}

TEST(QueryFile, LoadRules)
{
    TempDir dir;
    const QString path =
        dir.Write(QStringLiteral("q.qry"),
                  "[Tallowmere]\r\nVersion=0.1\r\nRows= 3\r\nColumns= 5\r\n"
                  "[Row 0]\r\nOpenB=NULL\r\nNotOp=NULL\r\nCloseB=NULL\r\nConnector=NULL\r\n"
                  "VB=NULL\r\nValue=" +
                      QByteArray(300, 'v') +
                      "\r\n"
                      "DB=Forms.Form_Date\r\nType=T\r\nTableName=Forms\r\n"
                      "[Row1]\r\nVB=lost\r\n"
                      "[Row 2]\r\nDB=Forms.Form_Notes\r\nType=Q\r\n");
    ScriptedUi ui;
    QueryGrid grid;
    int columns = 7;
    auto resolve = [](const QString& qualified) {
        RecordFieldLookup lookup;
        if (qualified == QLatin1String("Forms.Form_Date")) {
            lookup.status = RecordFieldLookup::Status::Found;
            lookup.dataType = QStringLiteral("D");
            lookup.comboItems = QStringLiteral("choices");
        }
        return lookup;
    };
    ASSERT_TRUE(ReadQueryFile(ui, path, grid, columns, resolve));
    EXPECT_EQ(columns, 5);
    ASSERT_EQ(grid.size(), 3);
    // "NULL" empties only the bracket, NOT and connector cells.
    EXPECT_TRUE(grid[0][kOpenBrackets].isEmpty());
    EXPECT_TRUE(grid[0][kNotColumn].isEmpty());
    EXPECT_TRUE(grid[0][kCloseBrackets].isEmpty());
    EXPECT_TRUE(grid[0][kConnectorColumn].isEmpty());
    EXPECT_EQ(grid[0][kFieldNameColumn], QStringLiteral("NULL"));
    EXPECT_EQ(grid[0][kValueColumn], QString(254, QLatin1Char('v')));
    // A configured field takes its type and choices from the configuration.
    EXPECT_EQ(grid[0][kDataTypeColumn], QStringLiteral("D"));
    EXPECT_EQ(grid[0][kChoicesColumn], QStringLiteral("choices"));
    // "Row1" without its blank is not row 1's section.
    EXPECT_EQ(grid[1], QueryRow());
    // An unconfigured field keeps its saved type.
    EXPECT_EQ(grid[2][kDataTypeColumn], QStringLiteral("Q"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(QueryFile, InvalidFilesLeaveTheGridAlone)
{
    TempDir dir;
    const std::vector<QByteArray> bodies{"",
                                         "[Tallowmere]\r\nRows= 2\r\n",
                                         "[Tallowmere]\r\nColumns= 7\r\n",
                                         "[Tallowmere]\r\nRows= 0\r\nColumns= 7\r\n",
                                         "[Tallowmere]\r\nRows=two\r\nColumns= 7\r\n",
                                         "[Tallowmere]\r\nRows=-4\r\nColumns= 7\r\n"};
    for (const QByteArray& body : bodies) {
        const QString path = dir.Write(QStringLiteral("bad.qry"), body);
        ScriptedUi ui;
        QueryGrid grid = SampleGrid();
        int columns = 7;
        EXPECT_FALSE(ReadQueryFile(ui, path, grid, columns, NothingConfigured));
        EXPECT_EQ(grid, SampleGrid());
        EXPECT_EQ(columns, 7);
        EXPECT_EQ(ui.MessageTexts(),
                  QStringList{path + QStringLiteral(" is an invalid query file")});
    }
}

TEST(QueryFile, AFieldWhoseEntryDoesNotParseStopsLoading)
{
    TempDir dir;
    const QString path =
        dir.Write(QStringLiteral("q.qry"), "[Tallowmere]\r\nRows= 2\r\nColumns= 7\r\n"
                                           "[Row 0]\r\nVB=a\r\n[Row 1]\r\nDB=Forms.Broken\r\n");
    ScriptedUi ui;
    QueryGrid grid;
    int columns = 0;
    auto resolve = [](const QString& qualified) {
        RecordFieldLookup lookup;
        if (qualified == QLatin1String("Forms.Broken")) {
            lookup.status = RecordFieldLookup::Status::Failed;
            lookup.error = QStringLiteral("entry 9 has too few fields");
        }
        return lookup;
    };
    EXPECT_FALSE(ReadQueryFile(ui, path, grid, columns, resolve));
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{"Error loading query file: entry 9 has too few fields"});
    EXPECT_EQ(grid[0][kFieldNameColumn], QStringLiteral("a")); // rows read so far stay
}

class QueryFieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile file(QStringLiteral(TALLOWMERE_RESOURCES "/default.cfg"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString error;
        ASSERT_TRUE(ReadConfigText(QString::fromUtf8(file.readAll()), tables, config, &error))
            << error.toStdString();
    }
    RecordTables tables;
    FormConfig config;
    ScriptedUi ui;
};

TEST_F(QueryFieldsTest, FieldListHasRecordFieldsThenFieldNames)
{
    const QStringList list = QueryFieldList(config, QStringLiteral("\r\nEmail\r\nQ\r\nCity\r\n"));
    ASSERT_GE(list.size(), 4);
    EXPECT_EQ(list.first(), QStringLiteral("Record ID"));
    EXPECT_TRUE(list.contains(QStringLiteral("Record Name")));
    EXPECT_EQ(list.mid(list.size() - 2), (QStringList{"Email", "City"}));
}

TEST_F(QueryFieldsTest, ChoosingAFieldFillsTheHiddenColumns)
{
    QueryRow row = NewQueryRow();
    ASSERT_TRUE(ChooseQueryField(ui, config, row, QStringLiteral("  record date ")));
    EXPECT_EQ(row[kDatabaseFieldColumn], QStringLiteral("Forms.Form_Date"));
    EXPECT_EQ(row[kDataTypeColumn], QStringLiteral("D"));
    EXPECT_EQ(row[kTableColumn], QStringLiteral("Forms"));
    ASSERT_TRUE(ChooseQueryField(ui, config, row, QStringLiteral("Email")));
    EXPECT_EQ(row[kDatabaseFieldColumn], QStringLiteral("Field_Value"));
    EXPECT_EQ(row[kDataTypeColumn], QStringLiteral("M"));
    EXPECT_EQ(row[kTableColumn], QStringLiteral("Data"));
    EXPECT_TRUE(row[kChoicesColumn].isEmpty());

    const RecordFieldLookup id = LookupRecordField(config, QStringLiteral("Forms.FormID"));
    EXPECT_EQ(id.status, RecordFieldLookup::Status::Found);
    EXPECT_EQ(id.dataType, QStringLiteral("L"));
    EXPECT_EQ(LookupRecordField(config, QStringLiteral("forms.formid")).status,
              RecordFieldLookup::Status::NotFound);
}

} // namespace

TEST(QueryFile, TenThousandRowsSaveAndLoadWhole)
{
    TempDir dir;
    ScriptedUi ui;
    const QString path = dir.File(QStringLiteral("big.qry"));
    QueryGrid grid;
    for (int r = 0; r < 10000; ++r) {
        QueryRow row = SampleGrid()[r % 2];
        row[kChoicesColumn].clear();
        row[kValueColumn] = QStringLiteral("value %1").arg(r);
        grid.append(row);
    }
    ASSERT_TRUE(WriteQueryFile(ui, path, grid));
    EXPECT_TRUE(dir.Read(QStringLiteral("big.qry")).contains("\r\n\r\n[Row 9999]\r\n"));
    QueryGrid loaded;
    int columns = 0;
    ASSERT_TRUE(ReadQueryFile(ui, path, loaded, columns, NothingConfigured));
    EXPECT_EQ(loaded, grid);
    EXPECT_TRUE(ui.messages.isEmpty());
}

#include "database/DatabaseCreation.h"
#include "platform/DatabaseConnection.h"
#include "platform/SchemaLines.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"

#include <QFile>
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

namespace {

QStringList ColumnsOf(SQLite::Database& db, const char* table)
{
    QStringList columns;
    SQLite::Statement info(db, std::string("PRAGMA table_info(") + table + ")");
    while (info.executeStep())
        columns.append(QString::fromStdString(info.getColumn(1).getString() + " " +
                                              info.getColumn(2).getString()));
    return columns;
}

} // namespace

TEST(ParseSchemaLine, ReadsFourColumns)
{
    const SchemaLine field = ParseSchemaLine(QStringLiteral(" File_Name , T ,255,0"));
    EXPECT_EQ(field.name, QStringLiteral("File_Name"));
    EXPECT_EQ(field.type, kTextColumn);
    EXPECT_EQ(field.size, 255);
    EXPECT_FALSE(field.flag);

    const SchemaLine header = ParseSchemaLine(QStringLiteral("Data,Z,3,1,ignored,more"));
    EXPECT_EQ(header.type, kDetailTable);
    EXPECT_EQ(header.size, 3);
    EXPECT_TRUE(header.flag);
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("Forms,X,5,0")).type, kMasterTable);
}

TEST(ParseSchemaLine, NumbersByLeadingPrefixAndOddEndings)
{
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("A,T,12abc,0")).size, 12);
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("A,T,x,0")).size, 0);
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("A,T,2.5,0")).size, 2);   // half to even
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("A,T,99999,0")).size, 0); // does not fit 16 bits
    EXPECT_TRUE(ParseSchemaLine(QStringLiteral("A,T,1,0.5")).flag);
    // The last character belongs to the last column even when it is a comma.
    // "M," is then the type column, which is no letter of ours.
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("Name,M,"), kLongColumn).type, kLongColumn);
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("Name,M,7")).size, 7);
    // An unknown letter keeps the type given as the one before.
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("A,q,1,0"), kDateColumn).type, kDateColumn);
    EXPECT_EQ(ParseSchemaLine(QStringLiteral("A,t,1,0"), kLongColumn).type, kLongColumn);
}

TEST(ParseSchemaLine, EveryLetterSelectsItsType)
{
    const std::pair<const char*, qint16> letters[] = {
        {"T", 10}, {"M", 12}, {"L", 4}, {"C", 5},  {"D", 8},  {"B", 1}, {"I", 3},
        {"S", 6},  {"O", 7},  {"Y", 2}, {"N", 11}, {"Z", -1}, {"X", -2}};
    for (const auto& [letter, code] : letters)
        EXPECT_EQ(ParseSchemaLine(QStringLiteral("F,%1,1,0").arg(QLatin1String(letter))).type, code)
            << letter;
}

TEST(DeclaredTypes, KindsSurviveTheFileAndTextStaysText)
{
    const qint16 kinds[] = {kTextColumn,   kMemoColumn,    kLongColumn,      kCurrencyColumn,
                            kDateColumn,   kBooleanColumn, kIntegerColumn,   kSingleColumn,
                            kDoubleColumn, kByteColumn,    kLongBinaryColumn};
    for (qint16 kind : kinds) {
        int size = -1;
        EXPECT_EQ(KindOfDeclaredType(DeclaredType(kind, 40), &size), kind) << kind;
        EXPECT_EQ(size, kind == kTextColumn ? 40 : 0);
    }
    // Text, Memo and Date/time columns keep "30" as text, not the number 30.
    SQLite::Database db(":memory:", SQLite::OPEN_READWRITE);
    db.exec(("CREATE TABLE t (a " + DeclaredType(kTextColumn, 10) + ", b " +
             DeclaredType(kMemoColumn, 0) + ", c " + DeclaredType(kDateColumn, 0) + ", d " +
             DeclaredType(kCurrencyColumn, 0) + ")")
                .toStdString());
    db.exec("INSERT INTO t VALUES ('30', '007', '2024-01-02', '12.5')");
    SQLite::Statement row(db, "SELECT typeof(a), typeof(b), b, typeof(c), typeof(d) FROM t");
    ASSERT_TRUE(row.executeStep());
    EXPECT_EQ(row.getColumn(0).getString(), "text");
    EXPECT_EQ(row.getColumn(1).getString(), "text");
    EXPECT_EQ(row.getColumn(2).getString(), "007");
    EXPECT_EQ(row.getColumn(3).getString(), "text");
    EXPECT_EQ(row.getColumn(4).getString(), "real");
}

TEST(CreateNewDatabase, BuildsTheLayoutAndInfoRows)
{
    TempDir dir;
    ScriptedUi ui;
    const QString path = dir.File(QStringLiteral("new.fdb"));
    ASSERT_TRUE(CreateNewDatabase(ui, path));
    EXPECT_EQ(ui.MessageTexts(), QStringList{path + QStringLiteral(" Database Created")});
    EXPECT_EQ(ui.busyDepth, 0);

    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    EXPECT_EQ(ColumnsOf(db, "Forms"),
              (QStringList{"FormID INTEGER", "Form_Name MEMO_TEXT", "Form_Notes MEMO_TEXT",
                           "Form_Date DATE_TEXT", "File_Name TEXT(255)"}));
    EXPECT_EQ(ColumnsOf(db, "Data"), (QStringList{"DataID INTEGER", "Field_Name TEXT(255)",
                                                  "Field_Value MEMO_TEXT", "FormID INTEGER"}));
    EXPECT_EQ(ColumnsOf(db, "Info"),
              (QStringList{"KeyID INTEGER", "Key MEMO_TEXT", "Value MEMO_TEXT"}));
    EXPECT_EQ(db.execAndGet("SELECT count(*) FROM Forms").getInt(), 0);
    EXPECT_EQ(db.execAndGet("SELECT count(*) FROM Data").getInt(), 0);
    EXPECT_EQ(db.execAndGet("PRAGMA application_id").getInt(), DatabaseConnection::kApplicationId);
    EXPECT_EQ(db.execAndGet("SELECT count(*) FROM sqlite_master WHERE type='index' AND "
                            "name='FormID' AND tbl_name='Data'")
                  .getInt(),
              1);

    QStringList info;
    SQLite::Statement rows(db, "SELECT Key, Value FROM Info ORDER BY KeyID");
    while (rows.executeStep())
        info.append(QString::fromStdString(rows.getColumn(0).getString() + "=" +
                                           rows.getColumn(1).getString()));
    EXPECT_EQ(info, (QStringList{"Created by=Tallowmere", "Version=1.9.0", "Type=Normal",
                                 "FieldNamesList="}));

    // Keys are numbered by the engine and deleting a record deletes its fields.
    db.exec("PRAGMA foreign_keys=ON");
    db.exec("INSERT INTO Forms (Form_Name) VALUES ('a')");
    db.exec("INSERT INTO Data (Field_Name, FormID) VALUES ('x', 1), ('y', 1)");
    EXPECT_THROW(db.exec("INSERT INTO Data (Field_Name, FormID) VALUES ('z', 99)"),
                 SQLite::Exception);
    db.exec("DELETE FROM Forms WHERE FormID = 1");
    EXPECT_EQ(db.execAndGet("SELECT count(*) FROM Data").getInt(), 0);
}

TEST(CreateNewDatabase, RefusesAnExistingFileAndLeavesItAlone)
{
    TempDir dir;
    ScriptedUi ui;
    const QString path = dir.Write(QStringLiteral("taken.fdb"), "precious");
    EXPECT_FALSE(CreateNewDatabase(ui, path));
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{QStringLiteral("Database '%1' already exists.").arg(path)});
    EXPECT_EQ(dir.Read(QStringLiteral("taken.fdb")), QByteArray("precious"));

    EXPECT_FALSE(CreateNewDatabase(ui, dir.File(QStringLiteral("no/such/folder/x.fdb"))));
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[1].text.startsWith(QStringLiteral("Cannot create ")));
}

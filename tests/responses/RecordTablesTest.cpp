#include "platform/ScriptedUi.h"
#include "session/RecordTables.h"

#include <gtest/gtest.h>

namespace {

constexpr int H = RecordTables::kHeaderTable;
constexpr int F = RecordTables::kFieldTable;

void Append(RecordTables& t, const QString& name, const QString& value)
{
    t.CurrentRow[F] = t.RowCount[F];
    t.PutArrayElement(F, 1, name);
    t.PutArrayElement(F, 2, value);
}

QStringList Names(const RecordTables& t)
{
    QStringList names;
    for (int row = 0; row < t.FieldCount(); ++row)
        names.append(t.Field(row, 1));
    return names;
}

} // namespace

TEST(RecordTables, StartsInItsInitialState)
{
    RecordTables t;
    EXPECT_EQ(t.ColumnCount[H], 5);
    EXPECT_EQ(t.ColumnCount[F], 3);
    EXPECT_EQ(t.RowCapacity[F], 8);
    EXPECT_EQ(t.RowCount[F], 0);
    EXPECT_EQ(t.GetArrayElement(F, 1), QString());
    EXPECT_EQ(t.GetArrayElement(H, 1), QString());
    // Tables without cells read empty and store nothing.
    EXPECT_TRUE(t.PutArrayElement(3, 0, QStringLiteral("x")));
    EXPECT_EQ(t.GetArrayElement(3, 0), QString());
    EXPECT_EQ(t.GetArrayElement(0, 0), QString());
}

TEST(RecordTables, PuttingOnTheFirstFreeRowAppendsAndGrows)
{
    RecordTables t;
    for (int i = 0; i < 20; ++i)
        Append(t, QStringLiteral("f%1").arg(i), QStringLiteral("v%1").arg(i));
    EXPECT_EQ(t.RowCount[F], 20);
    EXPECT_EQ(t.RowCapacity[F], 32);
    t.CurrentRow[F] = 17;
    EXPECT_EQ(t.GetArrayElement(F, 2), QStringLiteral("v17"));
    t.CurrentRow[F] = 20;
    EXPECT_EQ(t.GetArrayElement(F, 2), QString());

    t.ClearRecordTables();
    EXPECT_EQ(t.RowCount[F], 0);
    EXPECT_EQ(t.RowCapacity[F], 32); // the grid never shrinks
    t.CurrentRow[F] = 0;
    t.RowCount[F] = 20; // cells past the count must be empty after a clear
    for (int row = 0; row < 20; ++row) {
        t.CurrentRow[F] = static_cast<qint16>(row);
        EXPECT_EQ(t.GetArrayElement(F, 1), QString());
    }
}

TEST(RecordTables, ImpossibleCellsAreProgramErrors)
{
    RecordTables t;
    try {
        t.GetArrayElement(H, 6);
        FAIL() << "no error";
    } catch (const RecordTablesError& e) {
        EXPECT_TRUE(e.Message().endsWith(
            QStringLiteral("\r\nProgram Error: GetArrayElement: Cannot read from table")));
    }
    Append(t, QStringLiteral("a"), QStringLiteral("1"));
    t.CurrentRow[F] = 0;
    try {
        t.PutArrayElement(F, 4, QStringLiteral("x"));
        FAIL() << "no error";
    } catch (const RecordTablesError& e) {
        EXPECT_TRUE(e.Message().endsWith(
            QStringLiteral("\r\nProgram Error: PutArrayElement: Cannot write to table")));
    }
    EXPECT_TRUE(t.IsColumnInRange(F, 3));
    EXPECT_FALSE(t.IsColumnInRange(F, 4));
    EXPECT_FALSE(t.IsColumnInRange(H, -1));
}

TEST(RecordTables, HoldsAtMost16384FieldRows)
{
    RecordTables t;
    for (int i = 0; i < RecordTables::kMaxCapacity; ++i)
        Append(t, QStringLiteral("f"), QStringLiteral("v"));
    EXPECT_EQ(t.RowCount[F], 16384);
    EXPECT_EQ(t.RowCapacity[F], 16384);
    try {
        Append(t, QStringLiteral("one"), QStringLiteral("too many"));
        FAIL() << "no error";
    } catch (const RecordTablesError& e) {
        EXPECT_TRUE(
            e.Message().endsWith(QStringLiteral("\r\nError in Config file, or program error 3")));
    }
    EXPECT_EQ(t.RowCount[F], 16384);
}

TEST(RecordTables, InsertAndRemoveRowsAtTheCursor)
{
    ScriptedUi ui;
    RecordTables t;
    t.SetUi(&ui);
    for (const char* n : {"a", "b", "c"})
        Append(t, QString::fromLatin1(n), QStringLiteral("v"));

    t.CurrentRow[F] = 1;
    EXPECT_EQ(t.InsertTableRow(F), F);
    EXPECT_EQ(Names(t), (QStringList{"a", "", "b", "c"}));
    EXPECT_EQ(t.Field(1, 2), QString());

    t.CurrentRow[F] = 0;
    EXPECT_EQ(t.RemoveTableRow(F), F);
    EXPECT_EQ(Names(t), (QStringList{"", "b", "c"}));

    // Nothing happens past the rows in use or on tables without rows.
    t.CurrentRow[F] = 3;
    EXPECT_EQ(t.InsertTableRow(F), 0);
    EXPECT_EQ(t.RemoveTableRow(F), 0);
    EXPECT_EQ(t.InsertTableRow(H), 0);
    EXPECT_EQ(t.RemoveTableRow(1), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(RecordTables, InsertingIntoAFullTableSaysSo)
{
    ScriptedUi ui;
    RecordTables t;
    t.SetUi(&ui);
    for (int i = 0; i < RecordTables::kMaxCapacity - 1; ++i)
        Append(t, QStringLiteral("f"), QStringLiteral("v"));
    t.CurrentRow[F] = 0;
    EXPECT_EQ(t.InsertTableRow(F), 0);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Error Inserting entry: ")));
    EXPECT_EQ(t.RowCount[F], RecordTables::kMaxCapacity - 1);
}

TEST(RecordTables, RemoveBlankRecordsDropsOnlyBlankRows)
{
    RecordTables t;
    Append(t, QStringLiteral("  "), QStringLiteral(""));
    Append(t, QStringLiteral("name"), QStringLiteral(""));
    Append(t, QStringLiteral("//"), QStringLiteral(" // "));
    Append(t, QString(), QString());
    Append(t, QStringLiteral("city"), QStringLiteral("Rome"));
    Append(t, QString(), QStringLiteral("value only"));
    t.CurrentRow[F] = 4;
    t.CurrentRow[H] = 0;
    t.RemoveBlankRecords();
    EXPECT_EQ(Names(t), (QStringList{"name", "city", ""}));
    EXPECT_EQ(t.Field(2, 2), QStringLiteral("value only"));
    EXPECT_EQ(t.CurrentRow[F], 4); // cursors are put back
}

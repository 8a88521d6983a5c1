#include "session/RecordTables.h"
#include "viewer/FieldGridModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

// The record viewer's field grid over the record in memory, checked by
// Qt's model tester through every kind of change the viewer makes.
namespace {

void Fill(RecordTables& t, const QList<std::pair<QString, QString>>& fields)
{
    t.ClearRecordTables();
    for (int r = 0; r < fields.size(); ++r) {
        t.CurrentRow[RecordTables::kFieldTable] = static_cast<qint16>(r);
        t.PutArrayElement(RecordTables::kFieldTable, 0, QString::number(100 + r));
        t.PutArrayElement(RecordTables::kFieldTable, 1, fields[r].first);
        t.PutArrayElement(RecordTables::kFieldTable, 2, fields[r].second);
        t.PutArrayElement(RecordTables::kFieldTable, 3, QStringLiteral("7"));
    }
    t.CurrentRow[RecordTables::kFieldTable] = 0;
}

} // namespace

TEST(FieldGridModelTest, ShowsEveryFieldOnOneLineThroughValueChangesAndNewRecords)
{
    RecordTables tables;
    FieldGridModel model(tables);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    EXPECT_EQ(model.rowCount(), 0);
    QStringList headings;
    for (int c = 0; c < model.columnCount(); ++c)
        headings.append(model.headerData(c, Qt::Horizontal).toString());
    EXPECT_EQ(headings, (QStringList{"DataID", "Field Name", "Field Data (Value)", "FormID"}));

    Fill(tables, {{"name", "Ann"}, {"comment", "two\r\nlines\nhere"}, {"city", "Oslo"}});
    model.Refresh();
    ASSERT_EQ(model.rowCount(), 3);
    const QModelIndex value = model.index(1, FieldGridModel::FieldValue);
    EXPECT_EQ(value.data().toString(), QStringLiteral("two lines here"));
    EXPECT_EQ(value.data(Qt::ToolTipRole).toString(), QStringLiteral("two\r\nlines\nhere"));
    EXPECT_EQ(model.index(2, FieldGridModel::DataId).data().toString(), QStringLiteral("102"));
    EXPECT_FALSE(model.index(3, 0).isValid());

    // A changed value keeps the rows; a field more or fewer starts again.
    const struct {
        QList<std::pair<QString, QString>> fields;
        int resets, changes;
    } steps[] = {
        {{{"name", "Bo"}, {"comment", "x"}, {"city", "Oslo"}}, 0, 1},
        {{{"name", "Bo"}, {"comment", "x"}, {"city", "Oslo"}, {"zip", "0150"}}, 1, 0},
        {{{"name", "Cy"}}, 1, 0},
        {{}, 1, 0},
        {{}, 0, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.fields.size());
        resets.clear();
        changes.clear();
        Fill(tables, s.fields);
        model.Update();
        EXPECT_EQ(resets.size(), s.resets);
        EXPECT_EQ(changes.size(), s.changes);
        ASSERT_EQ(model.rowCount(), s.fields.size());
        for (int r = 0; r < s.fields.size(); ++r)
            EXPECT_EQ(model.index(r, FieldGridModel::FieldValue).data().toString(),
                      s.fields[r].second);
    }
}

#include "database/DatabaseFixture.h"
#include "duplicates/DuplicateKeysSetting.h"
#include "duplicates/DuplicateMarks.h"
#include "gui/duplicates/DuplicateKeysDialog.h"
#include "gui/duplicates/DuplicateReviewDialog.h"
#include "gui/search/SummaryWindow.h"
#include "responses/ResponseImport.h"
#include "search/DuplicateReview.h"
#include "search/SummaryModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <typename T> T* Child(const QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// The guestbook imported twice; record 13's city differs from record 1's.
struct TwiceImported : DatabaseFixture {
    TwiceImported()
    {
        CreateAndOpen();
        const QString guestbook = QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt");
        ImportResponseFiles(session, {guestbook});
        ImportOptions again;
        again.again = true;
        ImportResponseFiles(session, {guestbook}, again);
        Db().exec(
            "UPDATE Data SET Field_Value = 'Paris' WHERE FormID = 13 AND Field_Name = 'city'");
    }
};

} // namespace

TEST(DuplicateKeysDialog, TicksTheSavedKeysAndSavesTheChoice)
{
    TwiceImported f;
    DuplicateKeysSetting setting(f.session);
    ASSERT_TRUE(setting.Load() && setting.Save({{"city"}, false, 7}));
    DuplicateKeysDialog dialog(setting);
    auto* fields = Child<QListWidget>(dialog, "lstFields");
    auto* whole = Child<QCheckBox>(dialog, "chkWholeResponse");
    auto* days = Child<QSpinBox>(dialog, "spnDays");
    ASSERT_TRUE(fields && whole && days);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "chkWithin")->isChecked());
    EXPECT_EQ(days->value(), 7);
    const auto item = [&](const char* name) {
        return fields->findItems(QString::fromLatin1(name), Qt::MatchExactly).value(0);
    };
    EXPECT_EQ(item("city")->checkState(), Qt::Checked);
    EXPECT_EQ(item("email")->checkState(), Qt::Unchecked);
    whole->setChecked(true);
    EXPECT_FALSE(fields->isEnabled());
    whole->setChecked(false);

    item("city")->setCheckState(Qt::Unchecked);
    item("email")->setCheckState(Qt::Checked);
    Child<QCheckBox>(dialog, "chkWithin")->setChecked(false);
    EXPECT_FALSE(days->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const DuplicateKeys saved = LoadDuplicateKeys(*f.session.Database.CurrentDatabase);
    EXPECT_EQ(saved, (DuplicateKeys{{"email"}, false, std::nullopt}));
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("Duplicate keys saved: 12 possible duplicate(s)"));
}

TEST(DuplicateReviewDialog, TicksAValuePerFieldMergesAndClosesWhenNoGroupIsLeft)
{
    TwiceImported f;
    DuplicateKeysSetting setting(f.session);
    ASSERT_TRUE(setting.Load() && setting.Save({{"email"}, false, std::nullopt}));
    // Only the first pair stays a possible duplicate.
    for (int id = 2; id <= 12; ++id)
        ClearDuplicateGroup(*f.session.Database.CurrentDatabase, {id, id + 12});

    // The summary shows the mark and narrows to it.
    SummaryWindow summary(f.session, [] {});
    const QModelIndex marked = summary.Model()->index(12, SummaryModel::RecordId);
    EXPECT_EQ(marked.data(Qt::ToolTipRole).toString(),
              QStringLiteral("Possible duplicate of record 1"));
    QTest::mouseClick(Child<QPushButton>(summary, "cmdFind_2"), Qt::LeftButton);
    EXPECT_EQ(summary.Model()->rowCount(), 2);

    DuplicateReview review(f.session);
    ASSERT_TRUE(review.Start());
    DuplicateReviewDialog dialog(review);
    QTableWidget* grid = dialog.Grid();
    EXPECT_EQ(Child<QLabel>(dialog, "lblGroup")->text(),
              QStringLiteral("Group 1 of 1: alice.kowalski@example.net"));
    EXPECT_FALSE(Child<QPushButton>(dialog, "cmdNext")->isEnabled());
    ASSERT_EQ(grid->columnCount(), 2);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Record 13 (2024-09-02)"));
    int city = -1;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->verticalHeaderItem(r)->text() == QLatin1String("city"))
            city = r;
    ASSERT_GE(city, 0);
    EXPECT_EQ(grid->item(city, 1)->checkState(), Qt::Checked);
    EXPECT_TRUE(grid->item(city, 0)->font().bold());
    grid->item(city, 0)->setCheckState(Qt::Checked);
    EXPECT_EQ(grid->item(city, 1)->checkState(), Qt::Unchecked);

    f.ui.QueueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(Child<QPushButton>(dialog, "cmdMerge"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.Text("SELECT Field_Value FROM Data WHERE FormID = 1 AND Field_Name = 'city'"),
              QStringLiteral("Toronto"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 23);
    EXPECT_EQ(summary.Model()->rowCount(), 1);
}

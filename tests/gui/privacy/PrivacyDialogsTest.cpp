#include "gui/privacy/PersonDataDialog.h"
#include "gui/privacy/RetentionDialog.h"
#include "privacy/PersonData.h"
#include "privacy/PrivacyFixture.h"
#include "privacy/RetentionSetting.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <typename T> T* Child(const QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

struct TwoPeople : PrivacyFixture {
    TwoPeople()
    {
        Add("Ann", "", "2023-01-01", {{"email", "ann@example.org"}, {"phone", "555 0101"}});
        Add("Bob", "ann@example.org sent this", "2024-03-01", {{"email", "bob@example.org"}});
        Reopen();
    }
};

} // namespace

TEST(RetentionDialog, FollowsTheChoicesSavesTheRuleAndOffersToApplyIt)
{
    TwoPeople f;
    RetentionSetting setting(f.session);
    ASSERT_TRUE(setting.Load());
    RetentionDialog dialog(setting);
    auto* keep = Child<QCheckBox>(dialog, "chkRetention");
    auto* days = Child<QSpinBox>(dialog, "spnDays");
    auto* fields = Child<QListWidget>(dialog, "lstFields");
    ASSERT_TRUE(keep && days && fields);
    EXPECT_FALSE(keep->isChecked());
    EXPECT_FALSE(days->isEnabled());
    EXPECT_EQ(days->minimum(), 1);
    keep->setChecked(true);
    EXPECT_TRUE(days->isEnabled());
    EXPECT_FALSE(fields->isEnabled());
    Child<QRadioButton>(dialog, "optMask")->setChecked(true);
    EXPECT_TRUE(fields->isEnabled());
    days->setValue(30);
    fields->findItems(QStringLiteral("phone"), Qt::MatchExactly)
        .value(0)
        ->setCheckState(Qt::Checked);
    f.ui.QueueAnswer(MessageAnswer::Yes);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(LoadRetentionRule(*f.session.Database.CurrentDatabase),
              (RetentionRule{30, RetentionRule::Action::Mask, {"phone"}}));
    EXPECT_EQ(f.ui.messages.last().text,
              QStringLiteral("1 record is past the retention period of 30 days: mask phone in it "
                             "now?"));
    EXPECT_EQ(f.Text("SELECT Field_Value FROM Data WHERE Field_Name = 'phone'"), QString());
}

TEST(PersonDataDialog, FindsListsAndErasesThroughItsButtons)
{
    TwoPeople f;
    PersonData data(f.session);
    PersonDataDialog dialog(data);
    auto* erase = Child<QPushButton>(dialog, "cmdErase");
    auto* list = Child<QListWidget>(dialog, "lstRecords");
    ASSERT_TRUE(erase && list);
    EXPECT_FALSE(erase->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog, "cmdSaveJson")->isEnabled());
    Child<QLineEdit>(dialog, "txtAddress")->setText(QStringLiteral("ANN@example.org"));
    QTest::mouseClick(Child<QPushButton>(dialog, "cmdFind"), Qt::LeftButton);
    EXPECT_EQ(Child<QLabel>(dialog, "lblFound")->text(),
              QStringLiteral("2 record(s) hold 'ANN@example.org'"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2  2024-03-01  Bob  (Notes)"));
    EXPECT_TRUE(erase->isEnabled() && Child<QPushButton>(dialog, "cmdSavePdf")->isEnabled());

    f.ui.QueueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(erase, Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(erase->isEnabled());
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);

    Child<QCheckBox>(dialog, "chkText")->setChecked(true);
    Child<QLineEdit>(dialog, "txtAddress")->setText(QStringLiteral("bob"));
    QTest::mouseClick(Child<QPushButton>(dialog, "cmdFind"), Qt::LeftButton);
    EXPECT_EQ(Child<QLabel>(dialog, "lblFound")->text(), QStringLiteral("No record holds 'bob'"));
}

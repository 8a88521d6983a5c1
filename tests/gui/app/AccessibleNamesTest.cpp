#include "duplicates/DuplicateKeysSetting.h"
#include "gui/support/SampleFrame.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Every control of every window and dialog tells a screen reader what it
// is: the accessible tree of each, walked as an assistive tool walks it.
namespace {

// The controls a user reaches and a screen reader must name.
bool IsControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::PageTabList:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Graphic:
        return true;
    default:
        return false;
    }
}

// The controls under node without a name, as "window > ... > objectName".
void Walk(QAccessibleInterface* node, const QString& path, QStringList* nameless)
{
    if (!node || !node->isValid() || node->state().invisible)
        return;
    const QString name = node->text(QAccessible::Name).trimmed();
    const QString here = path + QStringLiteral(" > ") +
                         (node->object() && !node->object()->objectName().isEmpty()
                              ? node->object()->objectName()
                              : QString::number(node->role(), 16));
    if (IsControl(node->role()) && name.isEmpty())
        nameless->append(here);
    // A combo box's line edit and list are parts of the one control.
    if (node->role() == QAccessible::ComboBox)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        Walk(node->child(i), here, nameless);
}

QStringList Nameless(QWidget* window)
{
    QStringList nameless;
    Walk(QAccessible::queryAccessibleInterface(window), window->objectName(), &nameless);
    return nameless;
}

class AccessibleNamesTest : public SampleFrameTest {
protected:
    // The nameless controls of the modal dialog open() opens.
    QStringList OfDialog(const std::function<void()>& open)
    {
        QStringList nameless;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                nameless = Nameless(dialog);
                dialog->reject();
            }
        });
        open();
        EXPECT_TRUE(seen);
        return nameless;
    }
};

} // namespace

TEST_F(AccessibleNamesTest, EveryControlOfTheWindowsHasAName)
{
    frame->show();
    frame->Command(QStringLiteral("mnuOQueryBuilder"))->trigger();
    frame->Command(QStringLiteral("mnuHContents"))->trigger();
    frame->Command(QStringLiteral("mnuOPreferences"))->trigger();
    frame->Command(QStringLiteral("mnuOStatistics"))->trigger();
    QApplication::processEvents();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            EXPECT_EQ(Nameless(window), QStringList()) << qPrintable(window->objectName());
        }
    }
}

TEST_F(AccessibleNamesTest, EveryControlOfTheDialogsHasAName)
{
    // Possible duplicates to review: the sample's records by one answer.
    DuplicateKeysSetting keys(session);
    ASSERT_TRUE(keys.Load() && keys.Save({{"would_recommend"}, false, std::nullopt}));
    for (const char* command :
         {"mnuFPrintResume", "mnuFImportClipboard", "mnuHAbout", "mnuODuplicateKeys",
          "mnuRReviewDuplicates", "mnuORetention", "mnuRFindPerson"})
        EXPECT_EQ(OfDialog([&] { frame->Command(QString::fromLatin1(command))->trigger(); }),
                  QStringList())
            << command;
    EXPECT_EQ(OfDialog([&] { frame->ShowSelectRecords(QStringLiteral("Delete Records")); }),
              QStringList());
}

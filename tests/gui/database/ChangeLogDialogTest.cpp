#include "database/ChangeLogBrowser.h"
#include "database/DatabaseFixture.h"
#include "gui/database/ChangeLogDialog.h"
#include "platform/WriteTransaction.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

// An import, then an edit an hour later, then an export a day later.
struct LoggedDatabase : DatabaseFixture {
    LoggedDatabase()
    {
        CreateAndOpen();
        DatabaseConnection& c = *session.Database.CurrentDatabase;
        const struct {
            ChangeKind kind;
            const char* what;
            qint64 laterMs;
        } rows[] = {{ChangeKind::Import, "from a.txt: read 2", 3600 * 1000},
                    {ChangeKind::Edit, "email: 5 -> 9 characters", 24 * 3600 * 1000},
                    {ChangeKind::Export, "2 record(s) to HTML file out.htm", 0}};
        for (const auto& row : rows) {
            InWriteTransaction(c, [&](SQLite::Database&) {
                AppendChangeLog(c, clock, row.kind, QString::fromUtf8(row.what),
                                QStringLiteral("1-2"));
            });
            clock.Advance(row.laterMs);
        }
    }
};

QStringList Column(const QTableWidget& table, int column)
{
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts.append(table.item(row, column)->text());
    return texts;
}

} // namespace

TEST(ChangeLogDialog, ShowsTheEntriesNewestFirstAndFiltersThem)
{
    LoggedDatabase f;
    ChangeLogBrowser browser(f.session);
    ASSERT_TRUE(browser.Refresh());
    ChangeLogDialog dialog(browser);
    auto* kind = Child<QComboBox>(dialog, "cboKind");
    auto* since = Child<QLineEdit>(dialog, "txtSince");
    auto* text = Child<QLineEdit>(dialog, "txtFind");
    auto* show = Child<QPushButton>(dialog, "cmdShow");
    auto* entries = Child<QTableWidget>(dialog, "grdEntries");
    auto* count = Child<QLabel>(dialog, "lblCount");
    ASSERT_TRUE(kind && since && text && show && entries && count);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change log"));
    EXPECT_EQ(kind->count(), 9);
    EXPECT_EQ(Column(*entries, 1), (QStringList{"export", "edit", "import"}));
    EXPECT_EQ(Column(*entries, 4).value(0), OperatingSystemUser());
    EXPECT_EQ(count->text(), QStringLiteral("3 entries"));

    kind->setCurrentIndex(kind->findText(QStringLiteral("edit")));
    emit kind->activated(kind->currentIndex());
    EXPECT_EQ(Column(*entries, 2), QStringList{"email: 5 -> 9 characters"});

    kind->setCurrentIndex(0);
    text->setText(QStringLiteral("html"));
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(Column(*entries, 1), QStringList{"export"});
    EXPECT_EQ(count->text(), QStringLiteral("1 entry"));

    // A date that is no date is refused and the rows stay.
    text->clear();
    since->setText(QStringLiteral("5 March"));
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(f.ui.MessageTexts(), QStringList{"'5 March' is not a date: type it as YYYY-MM-DD."});
    EXPECT_EQ(entries->rowCount(), 1);

    since->setText(QStringLiteral("2024-03-06"));
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(Column(*entries, 1), QStringList{"export"});
    since->setText(QStringLiteral("2030-01-01"));
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(count->text(), QStringLiteral("No entries"));
}

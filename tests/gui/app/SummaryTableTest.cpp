#include "gui/search/SummaryFieldsDialog.h"
#include "gui/search/SummaryFilterHeader.h"
#include "gui/search/SummaryWindow.h"
#include "search/SummaryModel.h"
#include "gui/support/SampleFrame.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

// The summary as a table: the field columns chosen in their dialog, a
// click on a heading, the filter row and the viewer's moves, offscreen.
namespace {

class SummaryTableTest : public SampleFrameTest {
protected:
    // Ticks names in the Select summary fields dialog (opened from its
    // menu entry), moves the last one ticked to the top, and presses OK.
    void ChooseFields(const QStringList& names)
    {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<SummaryFieldsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QListWidget* list = dialog->List();
            for (const QString& name : names)
                list->findItems(name, Qt::MatchExactly).first()->setCheckState(Qt::Checked);
            list->setCurrentItem(list->findItems(names.last(), Qt::MatchExactly).first());
            for (int i = list->currentRow(); i > 0; --i)
                dialog->findChild<QPushButton*>(QStringLiteral("cmdUp"))->click();
            dialog->accept();
        });
        QAction* entry = frame->Command(QStringLiteral("mnuOSelectFields"));
        ASSERT_TRUE(entry->isEnabled());
        entry->trigger();
    }
    QStringList Column(int column) const
    {
        QStringList texts;
        SummaryModel* model = frame->Summary()->Model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->data(model->index(row, column)).toString());
        return texts;
    }
    void Filter(int column, const QString& text)
    {
        QLineEdit* box = frame->Summary()->Header()->FilterBox(column);
        ASSERT_NE(box, nullptr);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(SummaryTableTest, FieldColumnsSortAndFilterRowDriveTheGridAndTheViewer)
{
    frame->show();
    ChooseFields({"product", "score"});
    SummaryWindow* summary = frame->Summary();
    SummaryModel* model = summary->Model();
    ASSERT_EQ(model->columnCount(), 7);
    EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), "score");
    EXPECT_EQ(model->headerData(6, Qt::Horizontal).toString(), "product");

    QHeaderView* header = summary->Header();
    const QPoint heading(header->sectionViewportPosition(5) + 5, 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    EXPECT_EQ(header->sortIndicatorSection(), 5);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), QString::fromUtf8("score \u25B2"));
    QStringList scores = Column(5);
    scores.removeAll(QString());
    for (int i = 1; i < scores.size(); ++i)
        EXPECT_LE(scores[i - 1].toDouble(), scores[i].toDouble()) << i;

    Filter(5, ">=5");
    const QStringList shown = Column(5);
    ASSERT_FALSE(shown.isEmpty());
    for (const QString& score : shown)
        EXPECT_GE(score.toDouble(), 5);
    // The viewer's moves follow the rows as shown.
    frame->Command(QStringLiteral("mnuRMoveLast"))->trigger();
    QApplication::processEvents();
    EXPECT_EQ(session.Tables.Header(0), QString::number(model->FormIdAt(model->rowCount() - 1)));

    Filter(5, ">");
    EXPECT_TRUE(summary->Header()->FilterBox(5)->property("invalid").toBool());
    EXPECT_EQ(ui.statusTexts.last(), "Filter of score: '>' needs a value after it");
    EXPECT_EQ(model->rowCount(), session.Database.SummaryRecords.Count());

    // A third click goes back to record-number order.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    EXPECT_LT(model->FormIdAt(0), model->FormIdAt(1));
}

} // namespace

#include "duplicates/StoredRecords.h"
#include "output/OutputFieldList.h"
#include "output/OutputOptions.h"
#include "output/OutputRunner.h"
#include "stats/ChartData.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(StatisticsReport, CountsTheTickedFieldsOfTheRecordsChosenIntoOnePage)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    StoreRecord(f, "2025-01-02", nullptr, {{"colour", "red"}, {"score", "9"}, {"email", "a@x"}});
    StoreRecord(f, "2025-01-02", nullptr, {{"colour", "red"}, {"score", "10"}});
    StoreRecord(f, "2025-01-03", nullptr, {{"colour", "<blue>"}, {"score", "9"}});
    f.session.Database.CurrentFieldNames.Reset(QStringLiteral("\r\ncolour\r\nscore\r\nemail\r\n"));
    FillOutputFieldList(f.session.Output, {}, QStringLiteral("colour\r\nscore\r\nemail\r\n"));
    f.session.Output.OutputFieldList[2].PrintStat = false; // email

    // Through the Output Options: the ticked fields, every record.
    OutputOptionsController options(f.session);
    options.SetType(OutputType::StatisticsReport);
    options.records = OutputOptionsController::kAll;
    options.SetTitle(QStringLiteral("Survey & co"));
    int drawn = 0;
    options.chartSvg = [&](const ChartData& chart, int, int) {
        ++drawn;
        return QByteArray("<?xml version=\"1.0\"?>\n<svg><title>") + chart.title.toUtf8() +
               "</title></svg>";
    };
    const QString path = f.dir.File(QStringLiteral("report.htm"));
    f.ui.QueueFiles({path});
    SummaryRows rows;
    rows.ids = {1, 2, 3};
    rows.current = 1;
    const OutputResult result = options.Run(rows, nullptr, {});
    ASSERT_TRUE(result.completed) << qPrintable(f.ui.MessageTexts().join('|'));
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("Statistics of 3 record(s) saved to ") + path);
    const QString html = ReadText(path);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>Survey &amp; co</h1>")));
    EXPECT_EQ(html.count(QStringLiteral("<section>")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("<td>red</td><td class=\"n\">2</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>&lt;blue&gt;</td>")));
    EXPECT_FALSE(html.contains(QStringLiteral("a@x")));
    // Submissions, each field's values and the numbers' ranges, inline.
    EXPECT_EQ(drawn, 4);
    EXPECT_EQ(html.count(QStringLiteral("<figure><svg>")), 4);
    EXPECT_FALSE(html.contains(QStringLiteral("<?xml")));

    // An ID range narrows the records; no ticked field is refused before
    // any file is chosen.
    OutputRequest request;
    request.type = OutputType::StatisticsReport;
    request.reportFields = {"colour", "score"};
    request.formIds = {1, 2, 3};
    request.idRange = IdRangeText{QStringLiteral("2"), QStringLiteral("3")};
    f.ui.QueueFiles({path});
    f.ui.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(RunOutput(f.session, request).completed);
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("Statistics of 2 record(s) saved to ") + path);
    request.reportFields.clear();
    const qsizetype asked = f.ui.saveRequests.size();
    EXPECT_FALSE(RunOutput(f.session, request).started);
    EXPECT_EQ(f.ui.saveRequests.size(), asked);
    EXPECT_EQ(f.ui.MessageTexts().last(),
              QStringLiteral("Please tick the fields the statistics report counts"));
}

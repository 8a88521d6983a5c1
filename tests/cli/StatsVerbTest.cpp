#include "GuestbookDatabase.h"
#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

TEST(StatsVerb, PrintsEachFieldsAnswersAsJsonAndNamesAnUnknownField)
{
    TempDir dir;
    const QString db = GuestbookDatabase(dir);
    QByteArray out, err;

    ASSERT_EQ(RunCli({"stats", "--json", db, "rating", "subscribe", "--find", "country", "F*"},
                     &out, &err),
              0)
        << err.constData();
    const QJsonArray fields = QJsonDocument::fromJson(out).array();
    ASSERT_EQ(fields.size(), 2);
    const QJsonObject rating = fields[0].toObject();
    EXPECT_EQ(rating["field"].toString(), QStringLiteral("rating"));
    const qint64 records = rating["records"].toInteger();
    EXPECT_GT(records, 0);
    EXPECT_EQ(rating["answered"].toInteger() + rating["empty"].toInteger(), records);
    qint64 counted = 0;
    for (const QJsonValue v : rating["values"].toArray())
        counted += v.toObject()["count"].toInteger();
    EXPECT_EQ(counted, rating["answered"].toInteger());
    EXPECT_TRUE(rating["numeric"].isObject());
    EXPECT_TRUE(fields[1].toObject()["numeric"].isNull());

    EXPECT_EQ(RunCli({"stats", db, "ratings"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("Unknown field 'ratings'")) << err.constData();
    EXPECT_EQ(RunCli({"stats", db, "--ids", "1-3"}, &out, &err), 2);
}

TEST(StatsVerb, DrawsOneChartAsSvgOrPng)
{
    TempDir dir;
    const QString db = GuestbookDatabase(dir);
    QByteArray out, err;

    // A field's values, with their captions in the drawing; the submissions
    // over time with no field named; PNG by the name's ending.
    const QString svg = dir.File(QStringLiteral("country.svg"));
    ASSERT_EQ(RunCli({"stats", db, "country", "--chart", svg}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(err.contains("Chart saved to")) << err.constData();
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray drawing = file.readAll();
    EXPECT_TRUE(drawing.contains("<svg")) << drawing.left(200).constData();
    EXPECT_TRUE(drawing.contains("country"));
    const QString png = dir.File(QStringLiteral("dates.PNG"));
    ASSERT_EQ(RunCli({"stats", db, "--chart", png}, &out, &err), 0) << err.constData();
    QFile image(png);
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_TRUE(image.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8));

    ASSERT_EQ(
        RunCli({"import", db, dir.Write(QStringLiteral("blank.txt"), "name=Al\r\nremark=\r\n")}),
        0);
    const struct {
        QStringList args;
        int status;
        const char* message;
    } refused[] = {
        {{"country", "--find", "name", "Al", "--chart", "r.svg"},
         1,
         "The field 'country' has no answers"},
        {{"country", "rating", "--chart", "two.svg"}, 2, "draws one field's chart"},
        {{"country", "--chart", "c.jpg"}, 2, "ending .svg or .png"},
        {{"countries", "--chart", "c.svg"}, 1, "Unknown field 'countries'"},
        {{"country", "--chart", "no/such/folder/c.svg"}, 1, "Could not write"},
    };
    for (const auto& row : refused) {
        EXPECT_EQ(RunCli(QStringList{"stats", db} + row.args, &out, &err), row.status)
            << qPrintable(row.args.join(' '));
        EXPECT_TRUE(err.contains(row.message)) << err.constData();
    }
}

#include "GuestbookDatabase.h"
#include "support/TempDir.h"

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

#include "support/TempDir.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class SummaryOrderVerbs : public ::testing::Test {
protected:
    // Dee's record spells a field name in other letters: it is the same field.
    void SetUp() override
    {
        db = dir.File(QStringLiteral("t.fdb"));
        ASSERT_EQ(RunCli({"create", db}), 0);
        const QString file =
            dir.Write(QStringLiteral("r.txt"), "name=Ann&score=10&country=France\r\n\r\n"
                                               "name=Bob&score=9&country=Germany\r\n\r\n"
                                               "name=Cid&score=abc&country=Finland\r\n\r\n"
                                               "name=Dee&Country=France\r\n");
        ASSERT_EQ(RunCli({"import", db, file}), 0);
    }
    // Each line's FormID, then the columns after the four.
    QStringList Rows(const QByteArray& out)
    {
        QStringList rows;
        for (const QString& line : QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts)) {
            QStringList cells = line.split('\t');
            rows.append((QStringList{cells[0]} + cells.mid(4)).join(' '));
        }
        return rows;
    }
    TempDir dir;
    QString db;
};

TEST_F(SummaryOrderVerbs, ListSortsFiltersAndShowsFieldColumns)
{
    const struct {
        QStringList options;
        QStringList rows;
    } cases[] = {
        {{"--fields", "Score,country", "--sort", "score"},
         {"2 9 Germany", "1 10 France", "3 abc Finland", "4  France"}},
        {{"--sort", "-score", "--where", "country", "F*"}, {"3", "1", "4"}},
        {{"--where", "score", ">=9", "--where", "country", "Fr*"}, {"1"}},
        {{"--sort", "-Record Name", "--where", "Record ID", "2~4"}, {"4", "3", "2"}},
        {{"--where", "country", "Spain"}, {}},
    };
    for (const auto& c : cases) {
        QByteArray out, err;
        ASSERT_EQ(RunCli(QStringList{"list"} + c.options + QStringList{db}, &out, &err), 0)
            << err.constData();
        EXPECT_EQ(Rows(out), c.rows) << c.options.join(' ').toStdString();
    }
    QByteArray out;
    ASSERT_EQ(
        RunCli({"list", "--json", "--fields", "score,country", "--where", "name", "B*", db}, &out),
        0);
    EXPECT_TRUE(out.contains("\"columns\": {\"score\": \"9\", \"country\": \"Germany\"}}"))
        << out.constData();
}

TEST_F(SummaryOrderVerbs, UnknownColumnsAndInvalidFiltersAreNamed)
{
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"list", "--sort", "-nope"}, "no column called nope"},
        {{"list", "--fields", "score,nope"}, "list: no field called nope"},
        {{"list", "--where", "score", ">"}, "Filter of score: '>' needs a value after it"},
        {{"list", "--where", "Date", "soon"}, "Filter of Date: 'soon' is not a date"},
        {{"export", "--type", "screen", "--where", "age", "1"}, "no column called age"},
    };
    for (const auto& c : cases) {
        QByteArray out, err;
        EXPECT_EQ(RunCli(c.args + QStringList{db}, &out, &err), 2) << c.message;
        EXPECT_TRUE(err.contains(c.message)) << err.constData();
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST_F(SummaryOrderVerbs, ExportGivesTheRecordsListShowsInItsOrder)
{
    const QString csv = dir.File(QStringLiteral("o.csv"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", csv, "--fields", "name", "--sort",
                      "-score", "--where", "country", "f*"},
                     &out, &err),
              0)
        << err.constData();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromUtf8(file.readAll()).split(QRegularExpression("[\r\n]+"), Qt::SkipEmptyParts),
        QStringList({"Cid", "Ann", "Dee"}));
    EXPECT_TRUE(err.startsWith("3 record(s) saved to")) << err.constData();
}

} // namespace

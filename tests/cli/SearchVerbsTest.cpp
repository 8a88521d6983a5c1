#include "support/TempDir.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

class SearchVerbs : public ::testing::Test {
protected:
    void SetUp() override
    {
        QByteArray out, err;
        ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
        const QString file =
            dir.Write(QStringLiteral("r.txt"), "name=Ann&email=ann%40x.org&city=Oslo\r\n\r\n"
                                               "name=Bob&email=bob%40y.org\r\n\r\n"
                                               "name=Hannah&city=Bergen\r\n\r\n"
                                               "name=%C3%84rger&email=a%22q\r\n");
        ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();
    }

    // The FormIDs printed by a verb (first column of each line).
    QStringList Ids(const QStringList& args, int status = 0)
    {
        QByteArray out, err;
        EXPECT_EQ(RunCli(args, &out, &err), status) << err.constData();
        lastError = QString::fromUtf8(err);
        QStringList ids;
        for (const QByteArray& line : out.split('\n'))
            if (!line.isEmpty())
                ids.append(QString::fromUtf8(line.split('\t').first()));
        return ids;
    }

    TempDir dir;
    QString db = dir.File(QStringLiteral("cli.fdb"));
    QString lastError;
};

TEST_F(SearchVerbs, FindByRecordNameAndByFieldName)
{
    EXPECT_EQ(Ids({"find", db, "Record Name", "*ann*"}), (QStringList{"1", "3"}));
    EXPECT_EQ(Ids({"find", db, "record name", "ärger"}), QStringList{"4"});
    EXPECT_EQ(Ids({"find", db, "Email", "*"}), (QStringList{"1", "2", "4"}));
    EXPECT_EQ(Ids({"find", db, "CITY", "o?lo"}), QStringList{"1"});
    EXPECT_EQ(Ids({"find", db, "email", "*\"*"}), QStringList{"4"}); // a quote is just a character
    EXPECT_TRUE(Ids({"find", db, "Email", "nobody"}).isEmpty());

    QByteArray out, err;
    ASSERT_EQ(RunCli({"find", "--json", db, "Record Name", "B*"}, &out, &err), 0);
    const QJsonArray records = QJsonDocument::fromJson(out).array();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject().value("Form_Name").toString(), QStringLiteral("Bob"));
}

TEST_F(SearchVerbs, FindMessages)
{
    EXPECT_TRUE(Ids({"find", db, "Nickname", "x"}, 1).isEmpty());
    EXPECT_TRUE(lastError.contains("Field not found"));
    Ids({"find", db, "Record Name", "  "}, 1);
    EXPECT_TRUE(lastError.contains("Please enter a search value"));
    Ids({"find", db, "Record Name", "[ab"}, 1);
    EXPECT_TRUE(lastError.contains("Invalid query: Invalid pattern string"));
    Ids({"find", db, "Record ID", "1*"}, 1);
    EXPECT_TRUE(lastError.contains("Invalid query: "));
    Ids({"find", db}, 2);
}

TEST_F(SearchVerbs, QueryRunsASavedQueryFile)
{
    const QString qry =
        dir.Write(QStringLiteral("q.qry"),
                  "[Tallowmere]\r\nVersion=1.9\r\nRows= 2\r\nColumns= 7\r\n"
                  "[Row 0]\r\nVB=Record Name\r\nOperator=LIKE\r\nValue=*\r\n"
                  "Connector=AND\r\nDB=Forms.Form_Name\r\nType=T\r\nTableName=Forms\r\n"
                  "[Row 1]\r\nNotOp=NOT\r\nVB=email\r\nOperator=LIKE\r\nValue=*x*\r\n"
                  "DB=Field_Value\r\nType=M\r\nTableName=Data\r\n");
    // Records with an email field not containing x: the NOT belongs inside
    // the sub-query, so Hannah (no email at all) is not found; Ann's has an x.
    EXPECT_EQ(Ids({"query", db, qry}), (QStringList{"2", "4"}));

    const QString bad = dir.Write(QStringLiteral("bad.qry"), "[Tallowmere]\r\nRows= 0\r\n");
    Ids({"query", db, bad}, 1);
    EXPECT_TRUE(lastError.contains(bad + " is an invalid query file"));

    const QString unbalanced =
        dir.Write(QStringLiteral("u.qry"),
                  "[Tallowmere]\r\nRows= 1\r\nColumns= 7\r\n"
                  "[Row 0]\r\nOpenB=(\r\nVB=Record Name\r\nOperator==\r\n"
                  "Value=Ann\r\nDB=Forms.Form_Name\r\nType=T\r\nTableName=Forms\r\n");
    Ids({"query", db, unbalanced}, 1);
    EXPECT_TRUE(lastError.contains("The brackets do not match"));
}

TEST_F(SearchVerbs, ExportOutputsOnlyTheRecordsFound)
{
    QByteArray out, err;
    const QString found = dir.File(QStringLiteral("found.txt"));
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", found, "--fields",
                      "Record Name,email", "--find", "Email", "*@*"},
                     &out, &err),
              0)
        << err.constData();
    EXPECT_EQ(dir.Read(QStringLiteral("found.txt")),
              QByteArray("Ann,ann@x.org\r\nBob,bob@y.org\r\n"));
    EXPECT_TRUE(err.contains("2 record(s) saved to")) << err.constData();

    const QString qry = dir.Write(QStringLiteral("city.qry"),
                                  "[Tallowmere]\r\nRows= 1\r\nColumns= 7\r\n[Row 0]\r\n"
                                  "VB=city\r\nOperator=LIKE\r\nValue=B*\r\nDB=Field_Value\r\n"
                                  "Type=M\r\nTableName=Data\r\n");
    ASSERT_EQ(RunCli({"export", db, "--type", "screen", "--query", qry}, &out, &err), 0)
        << err.constData();
    EXPECT_TRUE(out.contains("Hannah"));
    EXPECT_TRUE(out.contains("Bergen"));
    EXPECT_FALSE(out.contains("Oslo"));

    // A search that fails writes nothing.
    const QString none = dir.File(QStringLiteral("none.txt"));
    EXPECT_EQ(
        RunCli({"export", db, "--type", "text", "-o", none, "--find", "Nickname", "x"}, &out, &err),
        1);
    EXPECT_TRUE(err.contains("Field not found"));
    EXPECT_FALSE(QFileInfo::exists(none));
    EXPECT_EQ(RunCli({"export", db, "--type", "text", "-o", none, "--find", "Email"}, &out, &err),
              2);
}

} // namespace

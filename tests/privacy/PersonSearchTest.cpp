#include "database/ChangeLog.h"
#include "privacy/PersonData.h"
#include "privacy/PersonJson.h"
#include "privacy/PrivacyFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct People : PrivacyFixture {
    People()
    {
        Add("Ann", "", "2024-01-02", {{"email", "Ann@Example.org"}, {"city", "Oslo"}});
        Add("Call ann@example.org.", "", "2024-01-03", {{"city", "Rome"}});
        Add("Bob", "wrote from ann@example.org, twice", "2024-01-04", {});
        Add("Cy", "", "2024-01-05",
            {{"friend", "joann@example.org"}, {"work", "ann@example.org.uk"}, {"v", "ÅSA"}});
        Add("Dee", "", "2024-01-06", {{"message", "Zoë said hi to ann@example.org"}});
        Reopen();
    }
    std::vector<PersonRecord> Find(const char* text, bool address = true)
    {
        return FindPersonRecords(*session.Database.CurrentDatabase,
                                 {QString::fromUtf8(text), address});
    }
};

std::vector<qint64> Ids(const std::vector<PersonRecord>& records)
{
    std::vector<qint64> ids;
    for (const PersonRecord& r : records)
        ids.push_back(r.formId);
    return ids;
}

} // namespace

TEST(PersonSearch, FindsTheWholeAddressInFieldsNameAndNotesIgnoringCase)
{
    People f;
    const struct {
        const char* text;
        bool address;
        std::vector<qint64> ids;
    } cases[] = {
        {"ann@example.org", true, {1, 2, 3, 5}},
        {" ANN@EXAMPLE.ORG ", true, {1, 2, 3, 5}},
        {"joann@example.org", true, {4}},
        {"nobody@example.org", true, {}},
        {"ann@example", true, {}},
        {"ann", false, {1, 2, 3, 4, 5}},
        {"zoË", false, {5}},
        {"åsa", false, {4}},
        {"rome", false, {2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ids(f.Find(c.text, c.address)), c.ids) << c.text;
    const std::vector<PersonRecord> found = f.Find("ann@example.org");
    EXPECT_EQ(found[0].where, QStringList{"email"});
    EXPECT_EQ(found[1].where, QStringList{"Record Name"});
    EXPECT_EQ(found[2].where, QStringList{"Notes"});
    EXPECT_EQ(found[3].where, QStringList{"message"});

    for (const char* bad : {"ann", "ann@", "@example.org", "ann smith@example.org", "a@b@c"})
        EXPECT_FALSE(PersonQueryProblem({QString::fromLatin1(bad), true}).isEmpty()) << bad;
    EXPECT_TRUE(PersonQueryProblem({QStringLiteral("ann"), false}).isEmpty());
}

TEST(PersonSearch, TheJsonHoldsEveryRecordWithItsFieldsInOrder)
{
    People f;
    const PersonQuery query{QStringLiteral("ann@example.org"), true};
    const QJsonObject json = QJsonDocument::fromJson(PersonJson(*f.session.Database.CurrentDatabase,
                                                                query, f.Find("ann@example.org")))
                                 .object();
    EXPECT_EQ(json["query"].toString(), QStringLiteral("ann@example.org"));
    EXPECT_FALSE(json["text"].toBool());
    const QJsonArray records = json["records"].toArray();
    ASSERT_EQ(records.size(), 4);
    const QJsonObject first = records[0].toObject();
    EXPECT_EQ(first["FormID"].toInt(), 1);
    EXPECT_EQ(first["Form_Name"].toString(), QStringLiteral("Ann"));
    EXPECT_EQ(first["Form_Date"].toString(), QStringLiteral("2024-01-02"));
    EXPECT_EQ(first["found_in"].toArray(), QJsonArray{"email"});
    EXPECT_EQ(first["fields"].toArray(),
              (QJsonArray{QJsonObject{{"Field_Name", "email"}, {"Field_Value", "Ann@Example.org"}},
                          QJsonObject{{"Field_Name", "city"}, {"Field_Value", "Oslo"}}}));
    EXPECT_EQ(records[2].toObject()["Form_Notes"].toString(),
              QStringLiteral("wrote from ann@example.org, twice"));
    EXPECT_EQ(records[3].toObject()["fields"].toArray()[0].toObject()["Field_Value"].toString(),
              QStringLiteral("Zoë said hi to ann@example.org"));
}

TEST(PersonSearch, TheControllerSavesAndErasesOnlyWhenAskedToAndSaysWhenNothingMatches)
{
    People f;
    PersonData data(f.session);
    EXPECT_FALSE(data.Find({QStringLiteral("ann"), true}));
    EXPECT_EQ(f.ui.MessageTexts().last(), QStringLiteral("'ann' is not an e-mail address"));
    ASSERT_TRUE(data.Find({QStringLiteral("nobody@example.org"), true}));
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("No record holds 'nobody@example.org'"));
    EXPECT_EQ(data.Erase(), 0);

    ASSERT_TRUE(data.Find({QStringLiteral("ann@example.org"), true}));
    EXPECT_EQ(f.ui.StatusText(), QStringLiteral("4 record(s) hold 'ann@example.org'"));
    EXPECT_EQ(data.Lines().first(), QStringLiteral("1  2024-01-02  Ann  (email)"));
    const QString file = f.dir.File(QStringLiteral("ann.json"));
    f.ui.QueueFiles({file});
    ASSERT_TRUE(data.ExportJson());
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(saved.readAll())["records"].toArray().size(), 4);

    f.ui.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(data.Erase(), 0);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 5);
    f.ui.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(data.Erase(), 4);
    EXPECT_EQ(f.ui.messages.last().text,
              QStringLiteral("Erase the 4 record(s) holding 'ann@example.org'? This cannot be "
                             "undone."));
    EXPECT_EQ(f.Text("SELECT group_concat(FormID) FROM Forms"), QStringLiteral("4"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM Data WHERE FormID <> 4"), 0);
    EXPECT_EQ(f.session.Database.SummaryRecords.Ids(), std::vector<qint64>{4});

    // The log says what went and where it was written, never what it held.
    const std::vector<ChangeLogEntry> log = ReadChangeLog(*f.session.Database.CurrentDatabase);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, ChangeKind::Export);
    EXPECT_EQ(log[0].what, QStringLiteral("4 record(s) of a person's data saved as JSON"));
    EXPECT_EQ(log[1].kind, ChangeKind::Erase);
    EXPECT_EQ(log[1].what,
              QStringLiteral("4 record(s) erased: a person's data, found by e-mail address"));
    EXPECT_EQ(log[1].records, QStringLiteral("1-3, 5"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM ChangeLog WHERE What || Records LIKE "
                      "'%ann%' OR What || Records LIKE '%example%'"),
              0);
}

#include "StoredRecords.h"
#include "database/DatabaseFixture.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/DuplicateKeys.h"

#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

namespace {

struct Stored {
    const char* date; // ISO, or nullptr
    StoredFields fields;
};

void Store(DatabaseFixture& f, const std::vector<Stored>& records)
{
    for (const Stored& r : records)
        StoreRecord(f, r.date, nullptr, r.fields);
}

std::vector<std::vector<qint64>> Groups(const DuplicateSearch& search)
{
    std::vector<std::vector<qint64>> groups;
    for (const DuplicateGroup& g : search.groups) {
        groups.emplace_back();
        for (const DuplicateMember& m : g.records)
            groups.back().push_back(m.formId);
    }
    return groups;
}

} // namespace

TEST(ComparedKeyValue, TrimsFoldsCaseAndReadsAddressesAndPhones)
{
    const std::pair<const char*, const char*> cases[] = {
        {"  Ann@Example.COM \t", "ann@example.com"},
        {"Hello World", "hello world"},
        {"+44 (0)20 7946-0000", "4402079460000"},
        {"020.7946.0000", "02079460000"},
        {"123-456", "123-456"},         // too few digits for a phone
        {"12 34 56 7x", "12 34 56 7x"}, // a letter: not a phone
        {"   ", ""},
        {"\xC3\x84RGER ", "\xC3\xA4rger"},
    };
    for (const auto& [value, compared] : cases)
        EXPECT_EQ(ComparedKeyValue(value), compared) << value;
}

TEST(FindDuplicateGroups, GroupsByTheKeysGiven)
{
    using F = std::vector<std::pair<const char*, const char*>>;
    DuplicateKeys email{{"email"}, false, std::nullopt};
    DuplicateKeys emailAndForm{{"email", "form"}, false, std::nullopt};
    DuplicateKeys twoDays{{"email"}, false, 2};
    DuplicateKeys whole{{}, true, std::nullopt};
    const struct {
        const char* what;
        DuplicateKeys keys;
        std::vector<Stored> records;
        std::vector<std::vector<qint64>> groups;
    } cases[] = {
        {"case, blanks and a group of three",
         email,
         {{"2024-03-01", F{{"email", "Ann@x.org"}}},
          {"2024-03-01", F{{"email", "bob@x.org"}}},
          {"2024-03-02", F{{"Email", " ann@X.ORG "}}},
          {"2024-03-02", F{{"email", "ANN@x.org"}}}},
         {{1, 3, 4}}},
        {"blank and missing keys never match",
         email,
         {{nullptr, F{{"email", ""}}},
          {nullptr, F{{"email", "  "}}},
          {nullptr, F{{"x", "1"}}},
          {nullptr, F{{"x", "1"}}}},
         {}},
        {"phones by their digits",
         DuplicateKeys{{"phone"}, false, std::nullopt},
         {{nullptr, F{{"phone", "(020) 7946 0000"}}}, {nullptr, F{{"phone", "020-7946-0000"}}}},
         {{1, 2}}},
        {"every key field must match",
         emailAndForm,
         {{nullptr, F{{"email", "a@x"}, {"form", "join"}}},
          {nullptr, F{{"form", "Join"}, {"email", "a@x"}}},
          {nullptr, F{{"email", "a@x"}, {"form", "leave"}}},
          {nullptr, F{{"email", "a@x"}}}},
         {{1, 2}}},
        {"a window of days splits at a longer gap and leaves undated records out",
         twoDays,
         {{"2024-03-01", F{{"email", "a@x"}}},
          {"2024-03-03", F{{"email", "a@x"}}},
          {"2024-03-09", F{{"email", "a@x"}}},
          {"2024-03-10", F{{"email", "a@x"}}},
          {nullptr, F{{"email", "a@x"}}},
          {"2024-03-20", F{{"email", "a@x"}}}},
         {{1, 2}, {3, 4}}},
        {"the whole response in any order",
         whole,
         {{nullptr, F{{"a", "1"}, {"b", "Two"}}},
          {nullptr, F{{"B", "two"}, {"a", "1 "}}},
          {nullptr, F{{"a", "1"}}},
          {nullptr, F{}},
          {nullptr, F{}}},
         {{1, 2}}},
    };
    for (const auto& c : cases) {
        DatabaseFixture f;
        f.CreateAndOpen();
        Store(f, c.records);
        const DuplicateSearch search = FindDuplicateGroups(f.session, c.keys);
        EXPECT_TRUE(search.ok) << c.what;
        EXPECT_EQ(Groups(search), c.groups) << c.what;
    }
}

TEST(FindDuplicateGroups, NamesEachGroupsKeyAndItsRecords)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    Store(f, {{"2024-03-01", {{"email", "A@x"}, {"form", "Join"}}},
              {nullptr, {{"email", "a@X"}, {"form", "join "}}}});
    const DuplicateSearch search =
        FindDuplicateGroups(f.session, DuplicateKeys{{"email", "form"}, false, std::nullopt});
    ASSERT_EQ(search.groups.size(), 1u);
    EXPECT_EQ(search.groups[0].key, QStringLiteral("a@x / join"));
    EXPECT_EQ(search.groups[0].records[0].date, QStringLiteral("2024-03-01"));
    EXPECT_EQ(search.groups[0].records[1].date, QString());
    EXPECT_EQ(search.groups[0].records[1].name, QStringLiteral("n"));
}

TEST(DuplicateKeys, SavedWithTheDatabaseAndCheckedAgainstItsFields)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    DatabaseConnection& c = *f.session.Database.CurrentDatabase;
    EXPECT_FALSE(LoadDuplicateKeys(c).IsSet());
    const DuplicateKeys keys{{"email", "form"}, false, 3};
    SaveDuplicateKeys(c, keys);
    EXPECT_EQ(LoadDuplicateKeys(c), keys);
    SaveDuplicateKeys(c, DuplicateKeys{{}, true, std::nullopt});
    EXPECT_EQ(LoadDuplicateKeys(c), (DuplicateKeys{{}, true, std::nullopt}));

    QString unknown;
    const QString list = QStringLiteral("\r\nEmail\r\nForm\r\n");
    EXPECT_EQ(KnownKeyFields({"email", "FORM"}, list, &unknown), (QStringList{"Email", "Form"}));
    EXPECT_EQ(KnownKeyFields({"email", "phone"}, list, &unknown), QStringList());
    EXPECT_EQ(unknown, QStringLiteral("phone"));
}

#include "search/LikePattern.h"
#include "search/SearchFunctions.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

namespace {

bool Like(const QString& value, const QString& pattern)
{
    const std::optional<LikePattern> compiled = LikePattern::Compile(pattern);
    EXPECT_TRUE(compiled.has_value()) << pattern.toStdString();
    if (!compiled)
        return false;
    const bool unicode = compiled->Matches(value);
    const QByteArray utf8 = value.toUtf8();
    const bool bytes = compiled->MatchesUtf8(utf8.constData(), utf8.size());
    EXPECT_EQ(unicode, bytes) << value.toStdString() << " / " << pattern.toStdString();
    return unicode;
}

TEST(LikePattern, LiteralsMatchWholeValueIgnoringCase)
{
    EXPECT_TRUE(Like("abc", "abc"));
    EXPECT_TRUE(Like("ABC", "abc"));
    EXPECT_TRUE(Like("abc", "AbC"));
    EXPECT_FALSE(Like("abcd", "abc"));
    EXPECT_FALSE(Like("xabc", "abc"));
    EXPECT_TRUE(Like("", ""));
    EXPECT_FALSE(Like("a", ""));
}

TEST(LikePattern, StarTakesAnyRunIncludingNone)
{
    EXPECT_TRUE(Like("abc", "*abc*"));
    EXPECT_TRUE(Like("xxABCyy", "*abc*"));
    EXPECT_FALSE(Like("xxabyy", "*abc*"));
    EXPECT_TRUE(Like("anything", "*"));
    EXPECT_TRUE(Like("", "*"));
    EXPECT_TRUE(Like("a*", "a**"));
    EXPECT_TRUE(Like("abab", "*ab"));
    EXPECT_TRUE(Like("aaab", "*aab")); // needs backtracking past the first 'a'
    EXPECT_TRUE(Like("mississippi", "m*iss*ppi"));
    EXPECT_FALSE(Like("mississippi", "m*iss*ppix"));
    EXPECT_TRUE(Like("abcXbcY", "a*bc?"));
}

TEST(LikePattern, QuestionMarkAndHashTakeExactlyOneCharacter)
{
    EXPECT_TRUE(Like("cat", "c?t"));
    EXPECT_FALSE(Like("ct", "c?t"));
    EXPECT_FALSE(Like("coat", "c?t"));
    EXPECT_TRUE(Like("ü", "?")); // one character, though two bytes
    EXPECT_TRUE(Like("a1", "a#"));
    EXPECT_FALSE(Like("ab", "a#"));
    EXPECT_TRUE(Like("2024-01", "####-##"));
    EXPECT_FALSE(Like("2024-1", "####-##"));
}

TEST(LikePattern, BracketsTakeOneCharacterOfASetOrOutsideIt)
{
    EXPECT_TRUE(Like("b", "[abc]"));
    EXPECT_TRUE(Like("B", "[abc]"));
    EXPECT_FALSE(Like("d", "[abc]"));
    EXPECT_TRUE(Like("m", "[a-z]"));
    EXPECT_TRUE(Like("M", "[a-z]"));
    EXPECT_TRUE(Like("m", "[A-Z]"));
    EXPECT_FALSE(Like("5", "[a-z]"));
    EXPECT_TRUE(Like("5", "[!a-z]"));
    EXPECT_FALSE(Like("q", "[!a-z]"));
    EXPECT_TRUE(Like("x-1", "x[-]1"));
    // Wildcard characters inside brackets stand for themselves.
    EXPECT_TRUE(Like("a*b", "a[*]b"));
    EXPECT_FALSE(Like("axb", "a[*]b"));
    EXPECT_TRUE(Like("#1", "[#]#"));
    EXPECT_TRUE(Like("what?", "*[?]"));
    EXPECT_TRUE(Like("ab", "a[]b")); // an empty set stands for nothing
}

TEST(LikePattern, UnclosedBracketOrBackwardRangeIsRejected)
{
    QString error;
    EXPECT_FALSE(LikePattern::Compile(QStringLiteral("a[bc"), &error));
    EXPECT_EQ(error, QStringLiteral("Invalid pattern string"));
    EXPECT_FALSE(LikePattern::Compile(QStringLiteral("[z-a]")));
}

TEST(LikePattern, LetterCaseIsIgnoredForAllOfUnicode)
{
    EXPECT_TRUE(Like("ÄRGER", "ärger"));
    EXPECT_TRUE(Like("straße", "STRAßE"));
    EXPECT_TRUE(Like("ΣΟΦΊΑ", "σοφία"));
    EXPECT_TRUE(Like("σοφίας", "*ΊΑΣ")); // final sigma folds like sigma
    EXPECT_TRUE(Like("ПРИВЕТ мир", "привет*"));
    EXPECT_TRUE(Like("kelvin", "\u212Aelvin")); // Kelvin sign folds to k
    EXPECT_TRUE(Like("\u212Aelvin", "kel*"));
    EXPECT_TRUE(Like("Éclair", "[é]*"));
    EXPECT_TRUE(Like("ÉCLAIR", "[à-ê]clair"));
    EXPECT_FALSE(Like("Eclair", "[é]*")); // an accent is not a case
    EXPECT_TRUE(Like("日本語テキスト", "*語*"));
    EXPECT_TRUE(Like("😀smile", "?smile")); // one code point outside the BMP
}

TEST(LikePattern, TextBetweenTwoStarsIsFoundAnywhere)
{
    EXPECT_TRUE(Like("abc", "*abc*"));
    EXPECT_TRUE(Like("xxABCxx", "*abc*"));
    EXPECT_TRUE(Like("Person 7 Tabcott", "*ABC*"));
    EXPECT_TRUE(Like("aaab", "*aab*")); // a false start one place early
    EXPECT_TRUE(Like("abab c", "*ab c*"));
    EXPECT_TRUE(Like("the end: xyz", "*xyz*"));
    EXPECT_FALSE(Like("ab", "*abc*"));
    EXPECT_FALSE(Like("", "*a*"));
    EXPECT_FALSE(Like("a-b-c", "*abc*"));
    EXPECT_TRUE(Like("KELVIN x", "*\u212Aelvin*")); // a non-ASCII letter folding to k
    EXPECT_TRUE(Like("\u212Aelvin", "*kelvin*"));   // a non-ASCII value
    EXPECT_TRUE(Like("Zürich", "*ÜRI*"));           // a non-ASCII literal
    EXPECT_FALSE(Like("Zurich", "*ÜRI*"));
    EXPECT_TRUE(Like("a?c", "*?c*")); // a wildcard inside keeps its meaning
    EXPECT_TRUE(Like("x1y", "*#*"));
}

class SqlLike : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterSearchFunctions(db.getHandle()));
        db.exec("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT)");
        const char* values[] = {"Apple", "apple pie", "Ärger", "ärgerlich", "B52", "x\"y", nullptr};
        SQLite::Statement insert(db, "INSERT INTO t (v) VALUES (?)");
        for (const char* v : values) {
            if (v)
                insert.bind(1, v);
            else
                insert.bind(1);
            insert.exec();
            insert.reset();
        }
    }

    std::vector<int> Ids(const std::string& where, const std::string& bound)
    {
        SQLite::Statement q(db, "SELECT id FROM t WHERE " + where + " ORDER BY id");
        q.bind(1, bound);
        std::vector<int> ids;
        while (q.executeStep())
            ids.push_back(q.getColumn(0).getInt());
        return ids;
    }

    SQLite::Database db{":memory:", SQLite::OPEN_READWRITE};
};

TEST_F(SqlLike, LikeOperatorUsesTheProgramsWildcards)
{
    EXPECT_EQ(Ids("v LIKE ?", "apple*"), (std::vector<int>{1, 2}));
    EXPECT_EQ(Ids("v LIKE ?", "ÄRGER*"), (std::vector<int>{3, 4}));
    EXPECT_EQ(Ids("v LIKE ?", "?##"), (std::vector<int>{5}));
    EXPECT_EQ(Ids("v LIKE ?", "*\"*"), (std::vector<int>{6}));
    // SQLite's own % and _ mean nothing special.
    EXPECT_TRUE(Ids("v LIKE ?", "%").empty());
    EXPECT_TRUE(Ids("v LIKE ?", "_pple").empty());
    // A NULL value matches nothing, not even a lone star.
    EXPECT_EQ(Ids("v LIKE ?", "*").size(), 6u);
}

TEST_F(SqlLike, BadPatternIsAnEngineError)
{
    try {
        Ids("v LIKE ?", "[abc");
        FAIL() << "no error";
    } catch (const SQLite::Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid pattern string");
    }
}

TEST_F(SqlLike, FoldCollationComparesIgnoringCase)
{
    EXPECT_EQ(Ids("v = ? COLLATE FOLD", "APPLE"), (std::vector<int>{1}));
    EXPECT_EQ(Ids("v = ? COLLATE FOLD", "ärger"), (std::vector<int>{3}));
    EXPECT_EQ(Ids("v <> ? COLLATE FOLD", "apple").size(), 5u);
    EXPECT_EQ(Ids("v < ? COLLATE FOLD", "B"), (std::vector<int>{1, 2}));
    EXPECT_EQ(Ids("v >= ? COLLATE FOLD", "b52"), (std::vector<int>{3, 4, 5, 6}));
    // Without it SQLite compares bytes, and "apple pie" sorts after "B".
    EXPECT_EQ(Ids("v < ?", "B"), (std::vector<int>{1}));
}

} // namespace

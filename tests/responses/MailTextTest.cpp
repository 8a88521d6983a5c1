// The pieces that turn a message body into lines for the response rules.
#include "responses/CharacterReferences.h"
#include "responses/HtmlText.h"
#include "responses/MailBodyLines.h"
#include "session/RecordTables.h"

#include <gtest/gtest.h>

namespace {

// Feeds text in pieces of the given size, so lines straddle the pieces.
QByteArray Repair(MailBodyLines::Options options, const QByteArray& text, qsizetype piece = 3)
{
    MailBodyLines lines(options);
    QByteArray out;
    for (qsizetype at = 0; at < text.size(); at += piece)
        lines.Add(QByteArrayView(text).sliced(at, std::min(piece, text.size() - at)), out);
    lines.Finish(out);
    return out;
}

} // namespace

TEST(MailBodyLines, FlowedTextJoinsSoftBreaksOnly)
{
    MailBodyLines::Options flowed;
    flowed.flowed = true;
    // A soft break keeps its blank; a hard break, the signature separator
    // and a change of quote depth end the paragraph; stuffing goes.
    EXPECT_EQ(Repair(flowed, "Hello \r\nworld.\r\n From the site\r\n-- \r\nBot\r\n"),
              QByteArray("Hello world.\nFrom the site\n-- \nBot\n"));
    EXPECT_EQ(Repair(flowed, "> quoted \r\n>> deeper\r\nlast \r\n"),
              QByteArray(">quoted \n>>deeper\nlast \n"));
    flowed.delSp = true;
    EXPECT_EQ(Repair(flowed, "name=Ann&ci \r\nty=Rome&x \ny=1\n\nnext"),
              QByteArray("name=Ann&city=Rome&xy=1\n\nnext\n"));
}

TEST(MailBodyLines, MboxQuotingUndone)
{
    MailBodyLines::Options mbox;
    mbox.unquoteFrom = true;
    EXPECT_EQ(Repair(mbox, ">From the site\n>>From here\n> From no\n>Fromage\nFrom x\n", 5),
              QByteArray("From the site\n>From here\n> From no\n>Fromage\nFrom x\n"));
    EXPECT_FALSE(MailBodyLines({}).Active());
}

TEST(HtmlText, ShowsTheTextOfThePage)
{
    EXPECT_EQ(HtmlToText("<html><head><title>T</title><style>a=b</style></head><body>"
                         "<p>a=1&amp;b=2</p><script>x=1&y=2</script><div>one<br>two&nbsp;"
                         "three</div>k%C3%A9&lt;&#233;&eacute;<b>bold</b></body></html>"),
              QByteArray("a=1&b=2\none\ntwo three\nk%C3%A9<\xc3\xa9\xc3\xa9"
                         "bold\n"));
    // Blanks run together; a break in the source stays a break; <pre> keeps
    // its text as it is.
    EXPECT_EQ(HtmlToText("<div>  hello   there\n  again </div><pre>a  b\nc</pre>"),
              QByteArray("hello there\nagain\na  b\nc\n"));
    // Broken markup is read as far as it goes; nothing gives nothing.
    EXPECT_EQ(HtmlToText("<p>name=Ann&amp;age=3<b"), QByteArray("name=Ann&age=3\n"));
    EXPECT_EQ(HtmlToText(""), QByteArray());
}

TEST(CharacterReferences, DecodesNumericReferencesOnly)
{
    EXPECT_EQ(DecodeCharacterReferences(QStringLiteral("10&#8364; in Pozna&#x144;&#X144;")),
              QStringLiteral("10\u20ac in Pozna\u0144\u0144"));
    // Beyond Unicode's plane 0.
    EXPECT_EQ(DecodeCharacterReferences(QStringLiteral("&#128512;")),
              QString::fromUtf8("\xf0\x9f\x98\x80"));
    // Not references to a character: left as they are.
    EXPECT_EQ(
        DecodeCharacterReferences(QStringLiteral("&amp; &#; &#x; &#65 &#0; &#xD800; "
                                                 "&#1114112; &#99999999999999999999; &&#66;")),
        QStringLiteral("&amp; &#; &#x; &#65 &#0; &#xD800; &#1114112; "
                       "&#99999999999999999999; &B"));
    EXPECT_EQ(DecodeCharacterReferences(QStringLiteral("plain")), QStringLiteral("plain"));
}

TEST(CharacterReferences, EveryValueOfTheRecordAndItsName)
{
    constexpr int F = RecordTables::kFieldTable;
    RecordTables tables;
    const auto add = [&](const char* name, const char* value) {
        tables.CurrentRow[F] = tables.RowCount[F];
        tables.PutArrayElement(F, RecordTables::FieldNameColumn, QString::fromUtf8(name));
        tables.PutArrayElement(F, RecordTables::FieldValueColumn, QString::fromUtf8(value));
    };
    add("&#65;name", "Ma&#322;gorzata");
    add("city", "Pozna&#x144;");
    tables.PutArrayElement(RecordTables::kHeaderTable, RecordTables::NameColumn,
                           QStringLiteral("Ma&#322;gorzata"));
    tables.CurrentRow[F] = 1;
    DecodeRecordCharacterReferences(tables);
    EXPECT_EQ(tables.Header(RecordTables::NameColumn), QStringLiteral("Ma\u0142gorzata"));
    EXPECT_EQ(tables.Field(0, RecordTables::FieldValueColumn), QStringLiteral("Ma\u0142gorzata"));
    EXPECT_EQ(tables.Field(1, RecordTables::FieldValueColumn), QStringLiteral("Pozna\u0144"));
    // Field names are the form's own and stay; the cursor stays.
    EXPECT_EQ(tables.Field(0, RecordTables::FieldNameColumn), QStringLiteral("&#65;name"));
    EXPECT_EQ(tables.CurrentRow[F], 1);
}

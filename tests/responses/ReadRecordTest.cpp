#include "platform/Regional.h"
#include "platform/ScriptedUi.h"
#include "session/RecordTables.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr int F = RecordTables::kFieldTable;

struct Fixture {
    ScriptedUi ui;
    RecordTables tables;
    Regional regional{TestLocale()};
    TempDir dir;
    ResponseFile file;

    void OpenFile(const QByteArray& bytes)
    {
        ASSERT_TRUE(file.Open(dir.Write(QStringLiteral("responses.txt"), bytes)));
    }
    int Next()
    {
        tables.ClearRecordTables();
        return ReadRecord(tables, ui, regional, QString(), QDate(2026, 12, 8),
                          QStringLiteral("/mail/responses.txt"), &file);
    }
    int FromText(const QString& text)
    {
        tables.ClearRecordTables();
        return ReadRecord(tables, ui, regional, text, QDate(1998, 1, 5),
                          QStringLiteral("Clipboard"), nullptr);
    }
    QStringList Pairs() const
    {
        QStringList pairs;
        for (int row = 0; row < tables.FieldCount(); ++row)
            pairs.append(tables.Field(row, 1) + QLatin1Char('=') + tables.Field(row, 2));
        return pairs;
    }
};

} // namespace

TEST(ReadRecord, FindsSuccessiveResponsesAmongMailLines)
{
    Fixture f;
    f.OpenFile("From: ann@example.org\r\nSubject: Form results\r\n\r\nname=Ann&age=30\r\n\r\n"
               "name=Bob&age=41\r\n");
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"name=Ann", "age=30"}));
    EXPECT_EQ(f.tables.Header(RecordTables::NameColumn), QStringLiteral("Ann"));
    EXPECT_EQ(f.tables.Header(RecordTables::DateColumn), QStringLiteral("12/8/2026"));
    EXPECT_EQ(f.tables.Header(RecordTables::SourceColumn), QStringLiteral("/mail/responses.txt"));
    EXPECT_EQ(f.tables.Header(RecordTables::FormIdColumn), QString());
    EXPECT_EQ(f.tables.CurrentRow[F], 2); // one past the last field

    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"name=Bob", "age=41"}));
    EXPECT_EQ(f.Next(), kNoRecord);
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(ReadRecord, AcceptsEveryLineEnding)
{
    for (const QByteArray& nl : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        Fixture f;
        f.OpenFile("Subject: x" + nl + nl + "name=Ann+Lee&ci" + nl + "ty=Rome" + nl + nl +
                   "name=Bob" + nl);
        EXPECT_EQ(f.Next(), kRecordRead);
        EXPECT_EQ(f.Pairs(), (QStringList{"name=Ann Lee", "city=Rome"}));
        EXPECT_EQ(f.Next(), kRecordRead);
        EXPECT_EQ(f.Pairs(), (QStringList{"name=Bob"}));
        EXPECT_EQ(f.Next(), kNoRecord);
    }
}

TEST(ReadRecord, JoinsAdjacentBodiesAndSkipsPlainLines)
{
    Fixture f;
    f.OpenFile("a=1&b=2\nd=3\n\nSubject: a=b\n=abc\na=b;x=y\ncharset=us-ascii\n");
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"a=1", "b=2d=3"}));
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"charset=us-ascii"}));
    EXPECT_EQ(f.Next(), kNoRecord);
}

TEST(ReadRecord, StoresPairsAsTheyCome)
{
    Fixture f;
    EXPECT_EQ(f.FromText(QStringLiteral("a=1&&b=2&junk&e=")), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"a=1", "b=2", "e="}));
    EXPECT_EQ(f.FromText(QStringLiteral(" %20name%20 =x")), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"name=x"}));
    EXPECT_EQ(f.FromText(QStringLiteral("a=1&a=2&=x&b=%20v%20")), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"a=1", "a=2", "=x", "b= v "}));
    EXPECT_EQ(f.tables.Header(RecordTables::DateColumn), QStringLiteral("1/5/1998"));
    EXPECT_EQ(f.tables.Header(RecordTables::SourceColumn), QStringLiteral("Clipboard"));
    EXPECT_EQ(f.FromText(QStringLiteral("nothing here")), kNoRecord);
}

TEST(ReadRecord, DecodesNamesAndValuesAsUtf8OrWindows1252)
{
    Fixture f;
    f.OpenFile("city=Z%C3%BCrich&name=Ren%E9&note=caf\xC3\xA9\n");
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(),
              (QStringList{QStringLiteral("city=Z\u00fcrich"), QStringLiteral("name=Ren\u00e9"),
                           QStringLiteral("note=caf\u00e9")}));
}

TEST(ReadRecord, EscapesAreReadInTheCharsetTheBrowserNamed)
{
    // "_charset_" anywhere in the response, in a file and as given text;
    // fields before it are read again. Unknown names and bytes that are
    // not valid in the charset keep the program's rule.
    const struct {
        const char* body;
        QStringList pairs;
    } cases[] = {
        {"_charset_=Shift_JIS&name=%8ER%93c%91%BE%98Y",
         {"_charset_=Shift_JIS", QStringLiteral("name=\u5c71\u7530\u592a\u90ce")}},
        {"%96%BC=%8ER%93c&city=Tokyo&_CHARSET_=shift_jis&_charset_=utf-8&x=%87%40",
         {QStringLiteral("\u540d=\u5c71\u7530"), "city=Tokyo", "_CHARSET_=shift_jis",
          "_charset_=utf-8", QStringLiteral("x=\u2460")}},
        {"a=%C6%FC&_charset_=EUC-JP", {QStringLiteral("a=\u65e5"), "_charset_=EUC-JP"}},
        {"b=%1B%24B%3B%33%1B%28B&_charset_=ISO-2022-JP&a=%1B%24B%46%7C%1B%28B",
         {QStringLiteral("b=\u5c71"), "_charset_=ISO-2022-JP", QStringLiteral("a=\u65e5")}},
        {"_charset_=windows-1251&a=%CC%EE%F1%EA%E2%E0",
         {"_charset_=windows-1251", QStringLiteral("a=\u041c\u043e\u0441\u043a\u0432\u0430")}},
        {"_charset_=KOI8-R&a=%ED%CF%D3%CB%D7%C1",
         {"_charset_=KOI8-R", QStringLiteral("a=\u041c\u043e\u0441\u043a\u0432\u0430")}},
        {"_charset_=GB2312&a=%B1%B1%BE%A9", {"_charset_=GB2312", QStringLiteral("a=\u5317\u4eac")}},
        // Known to iconv, not to Qt.
        {"_charset_=ARMSCII-8&a=%B2%B3", {"_charset_=ARMSCII-8", QStringLiteral("a=\u0531\u0561")}},
        {"_charset_=ISO-8859-1&a=%80%E9",
         {"_charset_=ISO-8859-1", QStringLiteral("a=\u20ac\u00e9")}},
        {"a=Ren%E9&_charset_=no-such-charset",
         {QStringLiteral("a=Ren\u00e9"), "_charset_=no-such-charset"}},
        {"_charset_=Shift_JIS&a=%82", {"_charset_=Shift_JIS", QStringLiteral("a=\u201a")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        Fixture f;
        f.OpenFile(QByteArray(c.body) + "\n");
        EXPECT_EQ(f.Next(), kRecordRead);
        EXPECT_EQ(f.Pairs(), c.pairs);
        EXPECT_EQ(f.tables.Header(RecordTables::NameColumn), c.pairs[0].section('=', 1));
        EXPECT_EQ(f.FromText(QString::fromLatin1(c.body)), kRecordRead);
        EXPECT_EQ(f.Pairs(), c.pairs);
    }
}

TEST(ReadRecord, AnEscapeCutShortDropsTheResponse)
{
    Fixture f;
    f.OpenFile("a=1&b=100%\n\nc=3\n");
    EXPECT_EQ(f.Next(), kNoRecord);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.startsWith(QStringLiteral("Error reading data: ")));
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.Pairs(), (QStringList{"a=1"})); // rows before the error stay
}

TEST(ReadRecord, TooManyFieldsDropsOnlyThatResponse)
{
    Fixture f;
    QByteArray big = "first=1";
    for (int i = 0; i < 16400; ++i)
        big += "&f" + QByteArray::number(i) + "=x";
    f.OpenFile(big + "\n\nname=After\n");
    EXPECT_EQ(f.Next(), kRecordDropped);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(
        f.ui.messages[0].text.endsWith(QStringLiteral("Error in Config file, or program error 3")));
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"name=After"}));
}

TEST(ReadRecord, LinesThatAreNotTextNeverJoinAResponse)
{
    Fixture f;
    static const char kBytes[] = "a=1&b=2\r\nc=\0x\r\nd=4\r\n";
    f.OpenFile(QByteArray(kBytes, sizeof kBytes - 1));
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"a=1", "b=2"})); // the binary line ends it
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"d=4"}));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(ReadRecord, AnOverlongLineIsReportedAndReadingGoesOn)
{
    Fixture f;
    f.OpenFile("x=" + QByteArray(5000, 'a') + "\r\n\r\nname=Ann&note=" + QByteArray(50, 'b') +
               "\r\n" + QByteArray(5000, 'c') + "\r\nmore=1\r\n\r\nname=Bob\r\n");
    f.file.SetLineLimit(1000);
    // Before a body: the line, which may have been a response, is skipped
    // with a message and counts as one response dropped.
    EXPECT_EQ(f.Next(), kRecordDropped);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text,
              QStringLiteral("Error reading data: a line longer than 1000 bytes was skipped"));
    // Inside a body: that response is dropped whole, the rest of its body
    // is passed over, and the next response reads.
    EXPECT_EQ(f.Next(), kRecordDropped);
    ASSERT_EQ(f.ui.messages.size(), 2);
    EXPECT_EQ(f.ui.messages[1].text,
              QStringLiteral("Error reading data: a line of this response is longer than 1000 "
                             "bytes"));
    EXPECT_EQ(f.ui.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), (QStringList{"name=Bob"}));
}

TEST(ReadRecord, ManyFieldsOnOneLineAndOneValueOverManyLinesReadWhole)
{
    Fixture f;
    QByteArray oneLine = "first=1";
    QStringList expected{"first=1"};
    for (int i = 0; i < 16000; ++i) {
        oneLine += "&f" + QByteArray::number(i) + "=v%2B" + QByteArray::number(i);
        expected.append(QStringLiteral("f%1=v+%1").arg(i));
    }
    QByteArray wrapped = "big=";
    QString bigValue;
    for (int i = 0; i < 20000; ++i) {
        wrapped += "0123456789%41bcdefghij\r\n";
        bigValue += QStringLiteral("0123456789Abcdefghij");
    }
    f.OpenFile(oneLine + "\r\n\r\n" + wrapped + "&last=%C3%A9\r\n");
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(), expected);
    EXPECT_EQ(f.Next(), kRecordRead);
    EXPECT_EQ(f.Pairs(),
              (QStringList{QStringLiteral("big=") + bigValue, QStringLiteral("last=\u00e9")}));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

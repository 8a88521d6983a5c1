#include "responses/MailFormat.h"

#include <gtest/gtest.h>

namespace {

MailFileKind Kind(const QByteArray& head, bool wholeFile = true)
{
    return DetectMailFileKind(head, wholeFile);
}

} // namespace

TEST(MailFormat, MessagesByTheirHeaderBlock)
{
    EXPECT_EQ(Kind("From: a@example.org\r\nSubject: x\r\n\r\nname=Ann\r\n"), MailFileKind::Message);
    // Folded lines, LF endings, a header that is no usual one among usual
    // ones, a blank before the colon.
    EXPECT_EQ(Kind("Received: from x\n\tby y\nX-Spam-Score: 0\nDate : today\n\nbody\n"),
              MailFileKind::Message);
    // Headers only, ending with the file (but not with the first bytes of
    // a longer file).
    EXPECT_EQ(Kind("Subject: nothing else"), MailFileKind::Message);
    EXPECT_EQ(Kind("Subject: nothing else", false), MailFileKind::PlainText);
}

TEST(MailFormat, PlainTextStaysPlain)
{
    // No usual header: "Note:" is not one.
    EXPECT_EQ(Kind("Note: copied from the site\r\n\r\nname=Ann\r\n"), MailFileKind::PlainText);
    // Prose before the headers, a response first, a continuation first,
    // a line that is no header inside the block.
    EXPECT_EQ(Kind("Forwarded message follows.\r\n\r\nFrom: a\r\n\r\nx=1\r\n"),
              MailFileKind::PlainText);
    EXPECT_EQ(Kind("name=Ann&age=30\r\n"), MailFileKind::PlainText);
    EXPECT_EQ(Kind(" From: a\r\n\r\n"), MailFileKind::PlainText);
    EXPECT_EQ(Kind("From: a\r\nhello there\r\n\r\nx=1\r\n"), MailFileKind::PlainText);
    EXPECT_EQ(Kind("\r\nFrom: a\r\n\r\nx=1\r\n"), MailFileKind::PlainText);
    // "From " prose is not an mbox, a number alone not an .emlx.
    EXPECT_EQ(Kind("From the web site, two answers:\r\nname=Ann\r\n"), MailFileKind::PlainText);
    EXPECT_EQ(Kind("42\nname=Ann\n"), MailFileKind::PlainText);
    EXPECT_EQ(Kind(""), MailFileKind::PlainText);
    // Windows-1252 and UTF-8 letters, a Ctrl-Z at the end: still text.
    EXPECT_EQ(Kind("city=Z\xfcrich\r\nname=J\xc3\xb6rg\r\n\x1a"), MailFileKind::PlainText);
}

TEST(MailFormat, MboxAndAppleMail)
{
    EXPECT_EQ(Kind("From a@example.org Tue Jan  7 09:00:00 2025\nFrom: a@example.org\n\nx=1\n"),
              MailFileKind::Mbox);
    EXPECT_EQ(Kind("1234      \nSubject: x\nFrom: a\n\nx=1\n<?xml version=\"1.0\"?>"),
              MailFileKind::AppleMail);
}

TEST(MailFormat, BinaryFiles)
{
    EXPECT_EQ(Kind(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12)),
              MailFileKind::OutlookMessage);
    EXPECT_EQ(Kind(QByteArray("name=Ann\0&age=30", 16)), MailFileKind::Binary);
    // Control bytes everywhere, though no zero byte.
    EXPECT_EQ(Kind(QByteArray(100, '\x01') + "name=Ann"), MailFileKind::Binary);
}

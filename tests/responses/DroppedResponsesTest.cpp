#include "responses/DroppedResponses.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

TEST(DroppedResponses, FilesWinOverTheirPathsAsText)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/one.txt")),
                  QUrl(QStringLiteral("https://example.org/form")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/two.eml"))});
    data.setText(QStringLiteral("file:///tmp/one.txt"));
    const DroppedResponses dropped = ReadDroppedResponses(data);
    EXPECT_EQ(dropped.files, (QStringList{"/tmp/one.txt", "/tmp/two.eml"}));
    EXPECT_TRUE(dropped.text.isEmpty());
}

TEST(DroppedResponses, TextAndWholeMessages)
{
    QMimeData text;
    text.setUrls({QUrl(QStringLiteral("imap://mail.example.org/INBOX;UID=7"))});
    text.setText(QStringLiteral("name=Ann"));
    EXPECT_EQ(ReadDroppedResponses(text).text, QStringLiteral("name=Ann"));
    EXPECT_TRUE(ReadDroppedResponses(text).files.isEmpty());

    // A message handed over whole, in its own bytes (Windows-1252 here).
    QMimeData message;
    message.setData(QStringLiteral("message/rfc822"), QByteArray("Subject: hi\r\n\r\nc=caf\xe9"));
    message.setText(QStringLiteral("hi"));
    EXPECT_EQ(ReadDroppedResponses(message).text, QStringLiteral("Subject: hi\r\n\r\nc=caf\u00e9"));

    QMimeData image;
    image.setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
    EXPECT_TRUE(ReadDroppedResponses(image).Empty());
}

#include "responses/ResponseFile.h"
#include "support/TempDir.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

QList<QByteArray> ReadAll(const QString& path)
{
    ResponseFile file(path);
    QList<QByteArray> lines;
    QByteArray line;
    while (file.ReadLine(line))
        lines.append(line);
    return lines;
}

} // namespace

TEST(ResponseFile, SplitsLinesAtEveryEndingAcrossChunkBoundaries)
{
    TempDir dir;
    // Line endings placed so that some CR LF pairs straddle the reader's
    // 64 KiB chunks.
    QList<QByteArray> expected;
    QByteArray bytes;
    const QByteArray endings[] = {"\r\n", "\n", "\r"};
    int i = 0;
    while (bytes.size() < 300 * 1024) {
        const QByteArray line(4093 + (i % 7), static_cast<char>('a' + i % 26));
        expected.append(line);
        bytes += line + endings[i % 3];
        ++i;
    }
    expected.append("last line without ending");
    bytes += "last line without ending";
    EXPECT_EQ(ReadAll(dir.Write(QStringLiteral("big.txt"), bytes)), expected);
}

TEST(ResponseFile, KeepsEmptyLinesAndKnowsItsEnd)
{
    TempDir dir;
    EXPECT_EQ(ReadAll(dir.Write(QStringLiteral("a.txt"), "\r\n\n\rx\r\r\n")),
              (QList<QByteArray>{"", "", "", "x", ""}));
    EXPECT_TRUE(ReadAll(dir.Write(QStringLiteral("empty.txt"), "")).isEmpty());

    ResponseFile file(dir.File(QStringLiteral("a.txt")));
    EXPECT_FALSE(file.AtEnd());
    ResponseFile missing(dir.File(QStringLiteral("missing.txt")));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.ErrorString().isEmpty());
}

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

TEST(ResponseFile, HandsOverLongLinesWholeWithWhatFollows)
{
    TempDir dir;
    for (const QByteArray& nl : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        QByteArray longLine(3 * 1024 * 1024 + 17, 'x');
        for (qsizetype i = 0; i < longLine.size(); i += 1000)
            longLine[i] = static_cast<char>('a' + (i / 1000) % 26);
        const QByteArray bytes = "first" + nl + longLine + nl + "after" + nl + longLine;
        EXPECT_EQ(ReadAll(dir.Write(QStringLiteral("long.txt"), bytes)),
                  (QList<QByteArray>{"first", longLine, "after", longLine}));
    }
}

TEST(ResponseFile, LinesThatAreNotTextComeBackEmptyAndMarked)
{
    TempDir dir;
    // A NUL byte makes a binary line; a line past the limit is too long.
    // Neither is kept, whatever its length, and the lines around it read as
    // they are.
    QByteArray bytes = "before\r\n";
    bytes += QByteArray(200 * 1024, '\0') + "tail\r\n";
    bytes += QByteArray(300 * 1024, 'y') + "\r\n";
    bytes += "ok\r\n";
    bytes += QByteArray(150 * 1024, 'z');
    ResponseFile file(dir.Write(QStringLiteral("mixed.txt"), bytes));
    file.SetLineLimit(100 * 1024);
    QByteArray line;
    ResponseFile::LineKind kind{};
    QList<std::pair<QByteArray, ResponseFile::LineKind>> lines;
    while (file.ReadLine(line, &kind))
        lines.append({line, kind});
    using K = ResponseFile::LineKind;
    EXPECT_EQ(lines, (QList<std::pair<QByteArray, K>>{{"before", K::Text},
                                                      {"", K::Binary},
                                                      {"", K::TooLong},
                                                      {"ok", K::Text},
                                                      {"", K::TooLong}}));
}

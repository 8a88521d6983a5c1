#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

int PdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

} // namespace

TEST(PdfExportVerb, WritesThePrintedPagesThroughTheChosenTemplate)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("p.fdb"));
    ASSERT_EQ(RunCli({"create", db}), 0);
    ASSERT_EQ(RunCli({"import", db,
                      dir.Write(QStringLiteral("r.txt"),
                                "name=Ann\r\n\r\nname=Bob\r\n\r\nname=Cy\r\n\r\nname=Di\r\n")}),
              0);
    QByteArray out, err;
    const QString pdf = dir.File(QStringLiteral("all.pdf"));
    ASSERT_EQ(RunCli({"export", db, "--type", "pdf", "-o", pdf}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(err.contains("4 record(s) saved to " + QFileInfo(pdf).absoluteFilePath().toUtf8()))
        << err.constData();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_GE(PdfPages(pdf), 1);

    // An existing file is replaced only with --yes; a template is found by
    // its name or its file name, and an ID range narrows the records.
    EXPECT_EQ(RunCli({"export", db, "--type", "pdf", "-o", pdf, "--ids", "2-3"}, &out, &err), 1);
    EXPECT_TRUE(err.contains("already exists; --yes replaces it")) << err.constData();
    ASSERT_EQ(RunCli({"export", db, "--type", "pdf", "-o", pdf, "--ids", "2-3", "--yes",
                      "--template", "numbered fields"},
                     &out, &err),
              0)
        << err.constData();
    EXPECT_TRUE(err.contains("2 record(s) saved to")) << err.constData();
    EXPECT_GE(PdfPages(pdf), 1);

    const struct {
        QStringList args;
        int status;
        const char* message;
    } refused[] = {
        {{"--template", "Nothing"}, 1, "No printing template called Nothing"},
        {{"--template", "Defaulthtm"}, 1, "No printing template called Defaulthtm"},
        {{"-o", dir.File(QStringLiteral("no/such/folder/x.pdf"))}, 1, "No such file or directory"},
    };
    for (const auto& row : refused) {
        QStringList args{"export", db, "--type", "pdf"};
        if (!row.args.contains(QStringLiteral("-o")))
            args << "-o" << dir.File(QStringLiteral("refused.pdf"));
        EXPECT_EQ(RunCli(args + row.args, &out, &err), row.status)
            << qPrintable(row.args.join(' '));
        EXPECT_TRUE(err.contains(row.message)) << err.constData();
    }
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("refused.pdf"))));
    EXPECT_EQ(RunCli({"export", db, "--type", "text", "-o", dir.File(QStringLiteral("t.txt")),
                      "--template", "Numbered"},
                     &out, &err),
              2);
}

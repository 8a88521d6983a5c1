#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(OutputVerbs, TemplateListAndConvert)
{
    QByteArray out, err;
    ASSERT_EQ(RunCli({"template", "list"}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.contains(
        "Default_dat.rpt\tDefault record text\tScreen Print TextFile TextClipboard\t"));
    EXPECT_TRUE(out.contains("Defaulthtm.rpt\tDefault HTML record\tHTML\t"));
    EXPECT_TRUE(err.isEmpty()) << err.constData(); // the shipped templates are stored already

    TempDir dir;
    const QString plain =
        dir.Write(QStringLiteral("mine.rpt"), "#NAME{Mine}\r\n#BEGIN\r\nx{00.00.000}||\r\n");
    ASSERT_EQ(RunCli({"template", "convert", plain}, &out, &err), 0) << err.constData();
    const QByteArray stored = dir.Read(QStringLiteral("mine.rpt"));
    EXPECT_TRUE(stored.startsWith("#NAME{Mine}\r\n#BEGIN\r\n"));
    EXPECT_GE(static_cast<unsigned char>(stored[21]), 101);
    EXPECT_EQ(RunCli({"template", "convert"}, &out, &err), 2);
}

TEST(OutputVerbs, RenderAndExportARealDatabase)
{
    TempDir dir;
    const QString db = dir.File(QStringLiteral("out.fdb"));
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
    const QString file = dir.Write(QStringLiteral("r.txt"),
                                   "name=Ann&comment=%3Cb%3Ebold%3C%2Fb%3E+%26+%22q%22\r\n\r\n"
                                   "name=Bob&email=bob%40example.org\r\n\r\nname=Cy\r\n");
    ASSERT_EQ(RunCli({"import", db, file}, &out, &err), 0) << err.constData();

    ASSERT_EQ(RunCli({"render", db, "1", "default_dat.rpt"}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.contains("Name:                   Ann\r\n"));
    EXPECT_TRUE(out.contains("comment                 <b>bold</b> & \"q\"\r\n"));
    ASSERT_EQ(RunCli({"render", db, "1", "Defaulthtm.rpt", "--html"}, &out, &err), 0);
    EXPECT_TRUE(out.contains("<td>&lt;b&gt;bold&lt;/b&gt; &amp; &quot;q&quot;</td>"));

    const QString html = dir.File(QStringLiteral("page.htm"));
    ASSERT_EQ(RunCli({"export", db, "--type", "html", "-o", html, "--title", "Sample"}, &out, &err),
              0)
        << err.constData();
    EXPECT_EQ(err, ("3 record(s) saved to " + html + "\n").toUtf8());
    const QByteArray page = dir.Read(QStringLiteral("page.htm"));
    EXPECT_TRUE(page.startsWith(
        "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">"));
    EXPECT_TRUE(page.contains("<title>Form records: Sample</title>"));
    EXPECT_EQ(page.count("<table>"), 3);
    EXPECT_TRUE(page.endsWith("</body>\r\n</html>\r\n"));
    // An existing file is replaced only with --yes.
    EXPECT_EQ(RunCli({"export", db, "--type", "html", "-o", html}, &out, &err), 1);
    EXPECT_TRUE(err.contains("Do you wish to overwrite this file?"));

    const QString csv = dir.File(QStringLiteral("data.txt"));
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", csv, "--ids", "2-3", "--fields",
                      "Record ID,name,email", "--delimiter", "semi-colon", "--quotes"},
                     &out, &err),
              0)
        << err.constData();
    EXPECT_EQ(dir.Read(QStringLiteral("data.txt")),
              "\"2\";\"Bob\";\"bob@example.org\"\r\n\"3\";\"Cy\";\"\"\r\n");
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", csv, "--ids", "1-1", "--fields",
                      "name", "--yes"},
                     &out, &err),
              0);
    EXPECT_TRUE(dir.Read(QStringLiteral("data.txt")).endsWith("\"3\";\"Cy\";\"\"\r\nAnn\r\n"));

    // Formula protection, RFC 4180 quoting and the names line only when asked.
    const QString hostile =
        dir.Write(QStringLiteral("h.txt"), "name=%3D1%2B2&note=%40SUM(A1)%2C+%22x%22\r\n");
    ASSERT_EQ(RunCli({"import", db, hostile}, &out, &err), 0) << err.constData();
    const QString plainCsv = dir.File(QStringLiteral("plain.csv"));
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", plainCsv, "--ids", "4-4",
                      "--fields", "name,note"},
                     &out, &err),
              0);
    EXPECT_EQ(dir.Read(QStringLiteral("plain.csv")), "=1+2,@SUM(A1), \"x\"\r\n");
    const QString safeCsv = dir.File(QStringLiteral("safe.csv"));
    ASSERT_EQ(RunCli({"export", db, "--type", "delimited", "-o", safeCsv, "--ids", "4-4",
                      "--fields", "name,note", "--protect-formulas", "--rfc4180", "--header"},
                     &out, &err),
              0)
        << err.constData();
    EXPECT_EQ(dir.Read(QStringLiteral("safe.csv")),
              "name,note\r\n'=1+2,\"'@SUM(A1), \"\"x\"\"\"\r\n");

    ASSERT_EQ(RunCli({"export", db, "--type", "screen", "--ids", "3-3"}, &out, &err), 0);
    EXPECT_TRUE(out.contains("Name:                   Cy\r\n"));
    EXPECT_FALSE(out.contains("Bob"));
    EXPECT_EQ(RunCli({"export", db, "--type", "text"}, &out, &err), 2);
}

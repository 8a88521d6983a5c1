#include "support/TempDir.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

// The HTML export is a page a browser takes as valid HTML5, also when the
// values hold markup characters, line breaks and non-ASCII text. HTML Tidy
// (installed by scripts/bootstrap) checks it.
TEST(HtmlExport, IsValidHtmlWithHostileValues)
{
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    ASSERT_FALSE(tidy.isEmpty()) << "tidy is missing: run scripts/bootstrap";

    TempDir dir;
    const QString db = dir.File(QStringLiteral("h.fdb"));
    const QString responses = dir.Write(
        QStringLiteral("r.txt"),
        "From: form@example.org\r\n\r\n"
        "name=Ann+%3Cb%3ELee%3C%2Fb%3E&email=ann%40example.org"
        "&comments=Line+one%0D%0A%3Cscript%3Ealert(1)%3C%2Fscript%3E+%26+%22quoted%22\r\n\r\n"
        "name=Bj%C3%B6rn&city=Z%C3%BCrich&note=%3C%21--+not+a+comment\r\n");
    QByteArray out, err;
    ASSERT_EQ(RunCli({"create", db}, &out, &err), 0) << err.constData();
    ASSERT_EQ(RunCli({"import", db, responses}, &out, &err), 0) << err.constData();
    const QString page = dir.File(QStringLiteral("report.htm"));
    ASSERT_EQ(RunCli({"export", db, "--type", "html", "-o", page, "--title", "Orders & <more>"},
                     &out, &err),
              0)
        << err.constData();

    const QByteArray html = dir.Read(QStringLiteral("report.htm"));
    EXPECT_FALSE(html.contains("<script>"));
    EXPECT_FALSE(html.contains("<b>Lee"));
    EXPECT_TRUE(html.contains("<meta charset=\"utf-8\">"));

    QProcess check;
    check.start(tidy, {QStringLiteral("-errors"), QStringLiteral("-quiet"), page});
    ASSERT_TRUE(check.waitForFinished(60000));
    // 0: neither warnings nor errors.
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().constData();
}

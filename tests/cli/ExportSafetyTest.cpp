#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

void Prepare(QProcess& process, const QStringList& args, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    process.setProcessEnvironment(env);
    // Only the limit: how the program takes SIGXFSZ is its own business.
    if (fileSizeLimit != RLIM_INFINITY)
        process.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    process.setProgram(QStringLiteral(TALLOWMERE_CLI));
    process.setArguments(args);
}

// A database of `records` records of about 220 bytes each.
QString MakeDatabase(const TempDir& dir, int records)
{
    QByteArray responses;
    for (int i = 1; i <= records; ++i)
        responses +=
            "name=Person" + QByteArray::number(i) + "&note=" + QByteArray(200, 'x') + "\r\n\r\n";
    const QString db = dir.File(QStringLiteral("d.fdb"));
    QByteArray err;
    EXPECT_EQ(RunCli({"create", db}, nullptr, &err), 0) << err.constData();
    EXPECT_EQ(RunCli({"import", db, dir.Write(QStringLiteral("r.txt"), responses)}, nullptr, &err),
              0)
        << err.constData();
    return db;
}

// The file an export writes: one of the process's descriptors open on a file
// of the folder other than the database's, once it holds bytes.
bool WritesIntoFolder(qint64 pid, const QString& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const std::string inside = folder.toStdString() + '/';
    for (const fs::directory_entry& fd :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const std::string target = fs::read_symlink(fd.path(), error).string();
        if (target.rfind(inside, 0) == 0 && target.find(".fdb") == std::string::npos)
            return fs::file_size(fd.path(), error) > 0 && !error;
    }
    return false;
}

} // namespace

TEST(ExportSafety, AFullDiskStopsTheExportWithTheSystemsReasonAndATrueCount)
{
    TempDir dir;
    const QString db = MakeDatabase(dir, 600);
    const QByteArray tooLarge = std::strerror(EFBIG);
    const QByteArray x = QByteArray(200, 'x');
    struct Case {
        const char* type;
        QByteArray before; // an earlier file appended to, or none
        QByteArray eachRecord;
        QByteArray recordEnd;
    } const cases[] = {{"delimited", {}, "\r\n", x + "\r\n"},
                       {"delimited", "older line\r\n", "\r\n", x + "\r\n"},
                       {"text", "older\r\n", "Record ID:", "xx\r\n\r\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.before.isEmpty() ? ", new file" : ", appended"));
        const QString out = dir.File(QStringLiteral("out.txt"));
        QFile::remove(out);
        if (!c.before.isEmpty())
            dir.Write(QStringLiteral("out.txt"), c.before);
        QProcess cli;
        Prepare(cli, {"export", db, "--type", c.type, "-o", out, "--yes"}, 50000);
        cli.start();
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QByteArray err = cli.readAllStandardError();
        ASSERT_EQ(cli.exitStatus(), QProcess::NormalExit) << "killed by the size limit";
        EXPECT_EQ(cli.exitCode(), 1);
        EXPECT_TRUE(err.contains("Output Error: " + tooLarge)) << err.constData();
        const QRegularExpressionMatch count =
            QRegularExpression(QStringLiteral("(\\d+) Record\\(s\\) output"))
                .match(QString::fromUtf8(err));
        ASSERT_TRUE(count.hasMatch()) << err.constData();
        const QByteArray file = dir.Read(QStringLiteral("out.txt"));
        ASSERT_TRUE(file.startsWith(c.before));
        const QByteArray added = file.mid(c.before.size());
        // Every record the count names is in the file whole, and no more.
        const qsizetype records = added.count(c.eachRecord);
        EXPECT_GT(records, 10);
        EXPECT_EQ(count.captured(1).toLongLong(), records);
        EXPECT_TRUE(added.endsWith(c.recordEnd)) << added.right(40).constData();
    }
}

TEST(ExportSafety, AKilledExportLeavesNoFileUnderItsNameAndAnOlderOneAsItWas)
{
    TempDir dir;
    const QString db = MakeDatabase(dir, 5000);
    const QByteArray older = "<html>older page</html>\r\n";
    struct Case {
        const char* type;
        const char* name;
        QByteArray before;
    } const cases[] = {{"text", "new.txt", {}}, {"html", "old.htm", older}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const QString out = dir.File(QString::fromLatin1(c.name));
        if (!c.before.isEmpty())
            dir.Write(QString::fromLatin1(c.name), c.before);
        QProcess cli;
        Prepare(cli, {"export", db, "--type", c.type, "-o", out, "--yes"});
        cli.start();
        ASSERT_TRUE(cli.waitForStarted());
        const QDeadlineTimer deadline(60000);
        while (!WritesIntoFolder(cli.processId(), dir.Path()) && !deadline.hasExpired() &&
               !cli.waitForFinished(1)) {
        }
        cli.kill();
        ASSERT_TRUE(cli.waitForFinished(60000));
        ASSERT_EQ(cli.exitStatus(), QProcess::CrashExit) << "the export ended before it was killed";
        EXPECT_EQ(QFileInfo::exists(out), !c.before.isEmpty());
        EXPECT_EQ(dir.Read(QString::fromLatin1(c.name)), c.before);
    }
}

TEST(ExportSafety, ASpreadsheetRunsNoFormulaOfAProtectedExport)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    TempDir dir;
    const QString db = dir.File(QStringLiteral("f.fdb"));
    QByteArray err;
    ASSERT_EQ(RunCli({"create", db}, nullptr, &err), 0) << err.constData();
    // Formulas after CR LF, after a lone LF, after a leading CR, after the
    // delimiter, and in quotes after the delimiter.
    const QString responses =
        dir.Write(QStringLiteral("r.txt"),
                  "name=a%0D%0A%3D1%2B1&note=x%0A%3D4%2A5&lead=%0D%3D3%2A37&cell=b%2C"
                  "%3D7%2A11%2A13&quoted=c%2C%22%3D9%2A9%22\r\n");
    ASSERT_EQ(RunCli({"import", db, responses}, nullptr, &err), 0) << err.constData();
    const QStringList formulas{"=1+1", "=4*5", "=3*37", "=7*11*13", "=9*9"};
    const QRegularExpression result(
        QStringLiteral("(^|[,\\n])\"?(2|20|111|1001|81)\"?(?=[,\\r\\n]|$)"));
    const QList<QStringList> choices = {
        {},
        {"--protect-formulas"},
        {"--protect-formulas", "--rfc4180"},
        {"--protect-formulas", "--join-lines"},
        {"--protect-formulas", "--quotes"},
        {"--protect-formulas", "--quotes", "--rfc4180"},
        {"--protect-formulas", "--join-lines", "--rfc4180"},
        {"--protect-formulas", "--replace-quotes"},
    };
    QStringList files;
    for (const QStringList& options : choices) {
        files.append(dir.File(QStringLiteral("export%1.csv").arg(files.size())));
        ASSERT_EQ(RunCli(QStringList{"export", db, "--type", "delimited", "-o", files.last(),
                                     "--fields", "name,note,lead,cell,quoted"} +
                             options,
                         nullptr, &err),
                  0)
            << err.constData();
    }
    // One LibreOffice run reads every export, working out its formulas, and
    // writes what its cells show.
    QProcess calc;
    calc.start(soffice, QStringList{"--headless",
                                    "-env:UserInstallation=" +
                                        QUrl::fromLocalFile(dir.File("profile")).toString(),
                                    "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
                                    "--outdir", dir.File("shown")} +
                            files);
    ASSERT_TRUE(calc.waitForFinished(300000));
    ASSERT_EQ(calc.exitCode(), 0) << calc.readAllStandardError().constData();
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(choices[i].join(QLatin1Char(' ')).toStdString());
        QFile file(dir.File(QStringLiteral("shown/export%1.csv").arg(i)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString shown = QString::fromUtf8(file.readAll());
        if (i == 0) { // unprotected: the spreadsheet runs them all
            for (const QString& formula : formulas)
                EXPECT_FALSE(shown.contains(formula)) << shown.toStdString();
            continue;
        }
        for (const QString& formula : formulas)
            EXPECT_TRUE(shown.contains(formula)) << shown.toStdString();
        EXPECT_FALSE(shown.contains(result)) << shown.toStdString();
    }
}

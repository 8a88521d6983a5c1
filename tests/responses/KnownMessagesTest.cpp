#include "../database/DatabaseFixture.h"
#include "responses/ResponseImport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kMbox = QStringLiteral(TALLOWMERE_TEST_DATA "/three.mbox");

// The messages of the mbox file as a mail program keeps them one a file:
// CR LF line ends, no "From " separator and no quoting of "From " lines.
QList<QByteArray> SingleMessages()
{
    QFile file(kMbox);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> messages;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("From ")) {
            messages.append(QByteArray());
            continue;
        }
        messages.last() += (line.startsWith(">From ") ? line.mid(1) : line) + "\r\n";
    }
    return messages;
}

ImportOutcome Import(DatabaseFixture& f, const QStringList& paths, bool again = false)
{
    ImportOptions options;
    options.again = again;
    return ImportResponseFiles(f.session, paths, options);
}

} // namespace

TEST(KnownMessages, AreNotStoredAgainFromAnyCopyUnlessAskedTo)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    EXPECT_FALSE(f.Db().tableExists("ImportLedger"));
    const ImportOutcome first = Import(f, {kMbox});
    EXPECT_EQ(first.total, 3);
    EXPECT_EQ(first.tally.Line(), QStringLiteral("3 read: 3 with responses (3 record(s) stored), "
                                                 "0 already imported, 0 without a response, "
                                                 "0 failed"));
    EXPECT_EQ(f.Count("SELECT count(*) FROM ImportLedger WHERE Outcome = 'stored' AND "
                      "MessageID LIKE '_@example.org' AND length(SHA256) = 64"),
              3);

    // The same messages kept one a file in a Maildir (one still new).
    const QList<QByteArray> messages = SingleMessages();
    ASSERT_EQ(messages.size(), 3);
    ASSERT_TRUE(QDir(f.dir.File(QString())).mkpath(QStringLiteral("Maildir/cur")));
    ASSERT_TRUE(QDir(f.dir.File(QString())).mkpath(QStringLiteral("Maildir/new")));
    ASSERT_TRUE(QDir(f.dir.File(QString())).mkpath(QStringLiteral("Maildir/tmp")));
    f.dir.Write(QStringLiteral("Maildir/cur/1.host:2,S"), messages[0]);
    f.dir.Write(QStringLiteral("Maildir/cur/2.host:2,S"), messages[1]);
    f.dir.Write(QStringLiteral("Maildir/new/3.host"), messages[2]);
    // Half written by a mail program, and a mail server's index: not read.
    f.dir.Write(QStringLiteral("Maildir/tmp/4.host"), "name=Half");
    f.dir.Write(QStringLiteral("Maildir/dovecot.index"), QByteArray("\0\1\2", 3));
    const QString maildir = f.dir.File(QStringLiteral("Maildir"));

    const struct {
        QString path;
        bool again;
        int stored;
        int known;
    } cases[] = {{kMbox, false, 0, 3}, {maildir, false, 0, 3}, {maildir, true, 3, 0}};
    for (const auto& c : cases) {
        const ImportOutcome outcome = Import(f, {c.path}, c.again);
        EXPECT_FALSE(outcome.failed) << qPrintable(c.path);
        EXPECT_EQ(outcome.tally.stored, c.stored) << qPrintable(c.path);
        EXPECT_EQ(outcome.tally.known, c.known) << qPrintable(c.path);
        EXPECT_EQ(outcome.tally.Read(), 3) << qPrintable(c.path);
    }
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 6);
    EXPECT_EQ(f.Count("SELECT count(*) FROM ImportLedger WHERE Outcome = 'already imported'"), 6);

    // Deleting the records does not forget their messages.
    f.Db().exec("DELETE FROM Data; DELETE FROM Forms");
    EXPECT_EQ(Import(f, {kMbox}).tally.known, 3);
    EXPECT_EQ(f.Count("SELECT count(*) FROM Forms"), 0);
}

TEST(KnownMessages, PlainResponsesAreKnownByBodyAndOrdinalAndEveryItemIsTallied)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    // Two identical responses are two submissions.
    const QString text =
        f.dir.Write(QStringLiteral("r.txt"), "name=Ann\r\n\r\nname=Ann\r\n\r\nname=Bob\r\n");
    const QString prose = f.dir.Write(QStringLiteral("prose.txt"), "Nothing here.\r\n");
    const QString binary = f.dir.Write(QStringLiteral("p.png"), QByteArray("\x89PNG\0\0\0", 8));
    ImportOutcome outcome = Import(f, {text, prose, binary});
    EXPECT_EQ(outcome.tally.Line(), QStringLiteral("5 read: 3 with responses (3 record(s) "
                                                   "stored), 0 already imported, 1 without a "
                                                   "response, 1 failed"));
    // A second copy of the file with one more Ann: only she is new.
    const QString more = f.dir.Write(
        QStringLiteral("more.txt"), "name=Ann\r\n\r\nname=Bob\r\n\r\nname=Ann\r\n\r\nname=Ann\r\n");
    outcome = Import(f, {text, more});
    EXPECT_EQ(outcome.tally.stored, 1);
    EXPECT_EQ(outcome.tally.known, 6);
    EXPECT_EQ(f.Text("SELECT group_concat(Form_Name) FROM Forms"),
              QStringLiteral("Ann,Ann,Bob,Ann"));
}

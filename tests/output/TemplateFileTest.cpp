#include "OutputFixture.h"

#include "output/TemplateList.h"
#include "output/TextRenderer.h"

#include <QDir>
#include <QFile>

TEST(TemplateShiftTable, MeetsBothConditions)
{
    const auto& shifts = TemplateShiftTable();
    for (const int s : shifts) {
        for (int code : {10, 13}) {
            EXPECT_GE(code + s, 101);
            EXPECT_LE(code + s, 255);
        }
        for (int code = 32; code <= 126; ++code) {
            EXPECT_GE(code + s, 101);
            EXPECT_LE(code + s, 255);
        }
    }
    EXPECT_GT(shifts[0] + 10, 126);
}

using TemplateFileTest = OutputFixture;

TEST_F(TemplateFileTest, ConversionRoundTripKeepsHeaderAndBody)
{
    const QByteArray header = "comment line\r\n#NAME{Round}\r\n#BEGIN here\r\n";
    const QByteArray body = "Line |1.1.000|{00.00.000}||\r\n~ all printable !\"#$%&'()*+,-./ "
                            "09:;<=>?@AZ[\\]^_`az{|}\t||\r\n";
    const QString path = dir.Write(QStringLiteral("r.rpt"), header + body);
    ASSERT_TRUE(ConvertTemplate(ui, path));
    const QByteArray stored = dir.Read(QStringLiteral("r.rpt"));
    EXPECT_TRUE(stored.startsWith(header));
    EXPECT_TRUE(stored.endsWith(body.isEmpty() ? "" : "\r\n"));
    EXPECT_EQ(stored.size(), header.size() + body.size() + 2);
    for (qsizetype i = header.size(); i < stored.size() - 2; ++i)
        EXPECT_GE(static_cast<unsigned char>(stored[i]), 101);
    const TemplateBody read = ReadTemplateBody(path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.text, QString::fromLatin1(body) + QStringLiteral("\r\n"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(TemplateFileTest, BareLineFeedsBecomeCrLf)
{
    const QString path =
        dir.Write(QStringLiteral("lf.rpt"), "#NAME{LF}\n#BEGIN\nA{00.00.000}||\nB{00.00.000}||\n");
    ASSERT_TRUE(ConvertTemplate(ui, path));
    EXPECT_TRUE(dir.Read(QStringLiteral("lf.rpt")).startsWith("#NAME{LF}\r\n#BEGIN\r\n"));
    SetRecord({QStringLiteral("1")}, {});
    ASSERT_TRUE(RenderTextTemplate(session, path));
    EXPECT_EQ(session.Output.OutputText, QStringLiteral("A\r\nB\r\n"));
}

TEST_F(TemplateFileTest, CharactersThatCannotBeStoredLeaveTheFileAlone)
{
    const QByteArray plain = "#NAME{X}\r\n#BEGIN\r\ncaf\xc3\xa9{00.00.000}||\r\n";
    const QString path = dir.Write(QStringLiteral("x.rpt"), plain);
    EXPECT_FALSE(ConvertTemplate(ui, path));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Error encrypting template: ")));
    EXPECT_EQ(dir.Read(QStringLiteral("x.rpt")), plain);
}

TEST_F(TemplateFileTest, ListingReadsTagsAndConvertsOnOk)
{
    dir.Write(QStringLiteral("a.rpt"),
              "#NAME{ Spaced}\r\nignored #DESCRIPTION{no} #OUTPUTTYPE{TextClipboard}\r\n"
              "#DESCRIPTION{first}\r\n#DESCRIPTION{Later wins}\r\n#BEGIN\r\nx{00.00.000}||\r\n");
    dir.Write(QStringLiteral("b.rpt"), "#OUTPUTTYPE{Printer}\r\n#BEGIN\r\nno name\r\n");
    dir.Write(QStringLiteral("c.rpt"), "#NAME{}\r\n#BEGIN\r\nempty name\r\n");
    WriteTemplate(QStringLiteral("d.rpt"), "stored{00.00.000}||\r\n",
                  "#NAME{Stored}\r\n#OUTPUTTYPE{Printer Screen}\r\n");
    dir.Write(QStringLiteral("notes.txt"), "#NAME{Not a template}\r\n#BEGIN\r\nx");
    ui.QueueAnswer(MessageAnswer::Ok);
    ListTemplates(session);

    const TemplateList& list = session.Output.Templates;
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FileName(0), QStringLiteral("a.rpt"));
    EXPECT_EQ(list.Name(0), QStringLiteral(" Spaced"));
    EXPECT_EQ(list.OutputTypes(0), QStringLiteral("TextClipboard"));
    EXPECT_EQ(list.Description(0), QStringLiteral("Later wins"));
    EXPECT_EQ(list.Name(1), QStringLiteral("Stored"));
    // Only the plain template was offered for conversion.
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("Template a.rpt needs to be converted\r\nbefore it can be used. "
                             "Press OK to convert, or Cancel to ignore."));
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::OkCancel);
    // Output type keywords are substrings, case-sensitive.
    EXPECT_EQ(list.ForOutputType(4), QList<int>{0});
    EXPECT_TRUE(list.ForOutputType(3).isEmpty());
    EXPECT_EQ(list.ForOutputType(1), QList<int>{1});
    EXPECT_EQ(list.ForOutputType(0), QList<int>{1});

    // Converted now: a second listing asks nothing.
    ListTemplates(session);
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(session.Output.Templates.Count(), 2);
}

TEST_F(TemplateFileTest, CancelLeavesTheTemplateListedAndPlain)
{
    const QByteArray plain = "#NAME{P}\r\n#BEGIN\r\nplain{00.00.000}||\r\n";
    dir.Write(QStringLiteral("p.rpt"), plain);
    ui.QueueAnswer(MessageAnswer::Cancel);
    ListTemplates(session);
    EXPECT_EQ(session.Output.Templates.Count(), 1);
    EXPECT_EQ(dir.Read(QStringLiteral("p.rpt")), plain);
}

TEST_F(TemplateFileTest, ReadingErrorsEndTheListing)
{
    dir.Write(QStringLiteral("a.rpt"), "#NAME{Fine}\r\n#BEGIN\r\n\xe0");
    dir.Write(QStringLiteral("b.rpt"), "#NAME{No body}\r\n#BEGIN\r\n");
    dir.Write(QStringLiteral("c.rpt"), "#NAME{Never}\r\n#BEGIN\r\n\xe0");
    ListTemplates(session);
    EXPECT_EQ(session.Output.Templates.Count(), 1);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        QStringLiteral("Error reading print template file b.rpt\r\n")));

    ui.messages.clear();
    QFile::remove(dir.File(QStringLiteral("b.rpt")));
    dir.Write(QStringLiteral("b.rpt"), "#NAME{Open tag\r\n#BEGIN\r\n\xe0");
    ListTemplates(session);
    EXPECT_EQ(session.Output.Templates.Count(), 1);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        QStringLiteral("Error reading print template file b.rpt\r\n")));
}

TEST(TemplateListing, ConvertedCopyGoesToTheWritableFolderWhenTheyDiffer)
{
    TempDir program;
    TempDir writable;
    ScriptedUi ui;
    Session session(ui, ProgramFolders(program.Path(), writable.Path()), Regional(TestLocale()));
    const QByteArray plain = "#NAME{Mine}\r\n#BEGIN\r\nmine{00.00.000}||\r\n";
    program.Write(QStringLiteral("Default_dat.rpt"), plain);
    ui.QueueAnswer(MessageAnswer::Ok);
    ListTemplates(session);
    EXPECT_EQ(program.Read(QStringLiteral("Default_dat.rpt")), plain);
    const QString found = session.Folders.FindFile(QStringLiteral("default_DAT.rpt"));
    EXPECT_EQ(found, writable.File(QStringLiteral("Default_dat.rpt")));
    EXPECT_EQ(session.Output.Templates.At(0).Path, found);
    ASSERT_TRUE(RenderTextTemplate(session, found));
    EXPECT_EQ(session.Output.OutputText, QStringLiteral("mine\r\n"));
}

TEST(ShippedTemplates, AreStoredAndListedWithoutQuestions)
{
    ScriptedUi ui;
    TempDir writable;
    Session session(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), writable.Path()),
                    Regional(TestLocale()));
    ListTemplates(session);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.MessageTexts().join(QLatin1Char('\n')));
    QStringList files;
    for (int k = 0; k < session.Output.Templates.Count(); ++k)
        files.append(session.Output.Templates.FileName(k).toLower());
    for (const char* name :
         {"default_dat.rpt", "defaulthtm.rpt", "htop.rpt", "hbot.rpt", "ttop.rpt"})
        EXPECT_TRUE(files.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(session.Output.Templates.ForOutputType(0).isEmpty());
    EXPECT_FALSE(session.Output.Templates.ForOutputType(1).isEmpty());
    EXPECT_FALSE(session.Output.Templates.ForOutputType(2).isEmpty());
}

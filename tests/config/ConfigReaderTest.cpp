#include "config/ConfigReader.h"
#include "ConfigTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QString kNameEntry =
    QStringLiteral("F|0|Record Name|Name|1|0|0|0|0|M|1.1|Form_Name|L.1||\n||\n");
const QString kDateEntry = QStringLiteral("F|0|Date|Date|1|0|0|0|0|D|1.3|Form_Date|L.3||\n||\n");

} // namespace

TEST(SplitConfigLines, EveryLineEndsWithCrLf)
{
    EXPECT_EQ(SplitConfigLines(QStringLiteral("a\nb\r\n\n")),
              (QStringList{"a\r\n", "b\r\n", "\r\n"}));
    // A lone carriage return is part of the line, not a line end.
    EXPECT_EQ(SplitConfigLines(QStringLiteral("a\rb\n")), (QStringList{"a\rb\r\n"}));
}

TEST(SplitConfigLines, ALastLineWithoutBreakGetsACarriageReturnBeforeItsLastCharacter)
{
    EXPECT_EQ(SplitConfigLines(QStringLiteral("x\n||")), (QStringList{"x\r\n", "|\r|"}));
    EXPECT_EQ(SplitConfigLines(QStringLiteral("z")), (QStringList{"\rz"}));
    EXPECT_TRUE(SplitConfigLines(QString()).isEmpty());
}

TEST(ReadConfigText, CommentsAndBlankLinesBetweenEntriesAreDropped)
{
    FormConfig config;
    RecordTables tables;
    QString error;
    const QString text = QStringLiteral("# a comment\n\n   \n#another\n") + kNameEntry +
                         QStringLiteral("\n# between\n") + kDateEntry + QStringLiteral("\n# end\n");
    ASSERT_TRUE(ReadConfigText(text, tables, config, &error)) << error.toStdString();
    ASSERT_EQ(config.ConfigEntries.size(), 2);
    EXPECT_EQ(config.ConfigEntries[0],
              "F|0|Record Name|Name|1|0|0|0|0|M|1.1|Form_Name|L.1||\r\n||\r\n");
    EXPECT_EQ(config.ConfigEntries[1], "F|0|Date|Date|1|0|0|0|0|D|1.3|Form_Date|L.3||\r\n||\r\n");
    EXPECT_EQ(config.LastEntryIndex, 1);
    EXPECT_EQ(config.ParsedEntry.DataField, "Form_Date");
}

TEST(ReadConfigText, LinesInsideAnEntryBelongToIt)
{
    FormConfig config;
    RecordTables tables;
    QString error;
    const QString text =
        QStringLiteral("T|0|Label\n# not a comment here\n\n|Short|0|0|0|0|0|T|||||\n  ||\n");
    ASSERT_TRUE(ReadConfigText(text, tables, config, &error)) << error.toStdString();
    ASSERT_EQ(config.ConfigEntries.size(), 1);
    EXPECT_EQ(config.ConfigEntries[0],
              "T|0|Label\r\n# not a comment here\r\n\r\n|Short|0|0|0|0|0|T|||||\r\n  ||\r\n");
    EXPECT_EQ(config.ParsedEntry.EntryLabel, "Label\r\n# not a comment here\r\n\r\n");
}

TEST(ReadConfigText, BarsFollowedByBlanksDoNotEndAnEntry)
{
    FormConfig config;
    RecordTables tables;
    QString error;
    const QString text = QStringLiteral("T|0|a|b|0|0|0|0|0|T|||||\n||  \n||\n");
    ASSERT_TRUE(ReadConfigText(text, tables, config, &error)) << error.toStdString();
    ASSERT_EQ(config.ConfigEntries.size(), 1);
    EXPECT_EQ(config.ConfigEntries[0], "T|0|a|b|0|0|0|0|0|T|||||\r\n||  \r\n||\r\n");
}

TEST(ReadConfigText, AnUnfinishedLastEntryStaysButIsNeverParsed)
{
    FormConfig config;
    RecordTables tables;
    QString error;
    // The last line has no line break, so its "||" is not an end line.
    const QString text =
        kNameEntry + QStringLiteral("F|0|Notes|Notes|1|0|0|0|0|M|1.2|Form_Notes|L.4||\n||");
    ASSERT_TRUE(ReadConfigText(text, tables, config, &error)) << error.toStdString();
    ASSERT_EQ(config.ConfigEntries.size(), 2);
    EXPECT_EQ(config.LastEntryIndex, 0);
    EXPECT_EQ(config.ConfigEntries[1], "F|0|Notes|Notes|1|0|0|0|0|M|1.2|Form_Notes|L.4||\r\n|\r|");
    EXPECT_EQ(config.HeaderItemEntry[4], FormConfig::kNoEntry);
    EXPECT_EQ(config.RecordFieldList.size(), 1);
}

TEST(ReadConfigText, ARejectedEntryStopsTheReadingWithTheEntriesBeforeIt)
{
    FormConfig config;
    RecordTables tables;
    QString error;
    const QString text =
        kNameEntry + QStringLiteral("T|0|a|b|0|0|0|0|0|T|1.1|Form_Name|L.2|\n||\n") + kDateEntry;
    EXPECT_FALSE(ReadConfigText(text, tables, config, &error));
    EXPECT_EQ(error, "entry 1 has 14 of the 15 fields");
    EXPECT_EQ(config.LastEntryIndex, 0);
    EXPECT_EQ(config.HeaderItemEntry[1], 0);
    EXPECT_EQ(config.HeaderItemEntry[2], FormConfig::kNoEntry);
    EXPECT_EQ(config.HeaderItemEntry[3], FormConfig::kNoEntry);
}

TEST(ReadConfigText, AnEntryOfNoKindStaysAndChangesNothing)
{
    FormConfig config;
    RecordTables tables;
    QString error;
    const QString text = QStringLiteral(" F|0|a|b|0|0|0|0|0|T|1.1|Form_Name|L.1||\n||\n") +
                         QStringLiteral("Q|0|a|b|0|0|0|0|0|T|1.1|Form_Name|F.1||\n||\n");
    ASSERT_TRUE(ReadConfigText(text, tables, config, &error)) << error.toStdString();
    EXPECT_EQ(config.ConfigEntries.size(), 2);
    EXPECT_EQ(config.LastEntryIndex, 1);
    EXPECT_EQ(config.HeaderItemEntry[1], FormConfig::kNoEntry);
    EXPECT_EQ(config.FrameEntry[1], FormConfig::kNoEntry);
    EXPECT_TRUE(config.RecordFieldList.isEmpty());
    EXPECT_TRUE(config.SummaryCaptions.isEmpty());
}

TEST(LoadConfigFile, ANameIsAFileOfTheProgramFolder)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("form.cfg"), (kNameEntry + kDateEntry).toUtf8());
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("form.cfg")));
    const QString path = f.dir.File(QStringLiteral("form.cfg"));
    EXPECT_EQ(f.ui.statusTexts, (QStringList{"Reading configuration from " + path + "...",
                                             "Configuration read from " + path}));
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_EQ(f.ui.busyDepth, 0);
    EXPECT_GE(f.ui.yields, 1);
    EXPECT_EQ(f.session.Config.ConfigEntries.size(), 2);
    EXPECT_EQ(f.session.Config.HeaderItemColumn[3], 3);
}

TEST(LoadConfigFile, AnAbsolutePathStaysAsItIs)
{
    ConfigFixture f;
    TempDir elsewhere;
    const QString path = elsewhere.Write(QStringLiteral("other.cfg"), kDateEntry.toUtf8());
    ASSERT_TRUE(LoadConfigFile(f.session, path));
    EXPECT_EQ(f.ui.StatusText(), "Configuration read from " + path);
    EXPECT_EQ(f.session.Config.RecordFieldList.size(), 1);
}

TEST(LoadConfigFile, AnEmptyNameAsksForTheFile)
{
    ConfigFixture f;
    const QString path = f.dir.Write(QStringLiteral("chosen.cfg"), kNameEntry.toUtf8());
    f.ui.QueueFiles({path});
    ASSERT_TRUE(LoadConfigFile(f.session, QString()));
    ASSERT_EQ(f.ui.openRequests.size(), 1);
    const FileDialogRequest& request = f.ui.openRequests[0];
    EXPECT_EQ(request.title, "Load Configuration File...");
    EXPECT_EQ(request.proposedName, "*.cfg");
    EXPECT_EQ(request.filters,
              ParseFileFilters("All Files (*.*)|*.*|Form Configuration Files (*.cfg)|*.cfg|"));
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(f.ui.StatusText(), "Configuration read from " + path);
}

TEST(LoadConfigFile, CancellingTheChoiceKeepsTheConfiguration)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("form.cfg"), kNameEntry.toUtf8());
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("form.cfg")));
    f.ui.QueueCancel();
    EXPECT_TRUE(LoadConfigFile(f.session, QString()));
    EXPECT_EQ(f.ui.StatusText(), "Load configuration file cancelled");
    EXPECT_EQ(f.session.Config.ConfigEntries.size(), 1);
}

TEST(LoadConfigFile, AMissingFileFailsWithTheSystemsReason)
{
    ConfigFixture f;
    EXPECT_FALSE(LoadConfigFile(f.session, QStringLiteral("absent.cfg")));
    EXPECT_EQ(f.ui.StatusText(), "Error reading configuration file: No such file or directory");
    EXPECT_EQ(f.ui.busyDepth, 0);
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(LoadConfigFile, ABrokenFileLeavesTheConfigurationInUse)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("good.cfg"), (kNameEntry + kDateEntry).toUtf8());
    f.dir.Write(QStringLiteral("bad.cfg"),
                QStringLiteral("F|0|Notes|Notes|1|0|0|0|0|M|1.2|Form_Notes|L.9||\n||\n").toUtf8());
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("good.cfg")));
    EXPECT_FALSE(LoadConfigFile(f.session, QStringLiteral("bad.cfg")));
    EXPECT_EQ(f.ui.StatusText(), "Error reading configuration file: entry 0: header item 9 is "
                                 "beyond the viewer's header items 0 to 5");
    EXPECT_EQ(f.ui.busyDepth, 0);
    const FormConfig& config = f.session.Config;
    EXPECT_EQ(config.ConfigEntries.size(), 2);
    EXPECT_EQ(config.HeaderItemEntry[1], 0);
    EXPECT_EQ(config.HeaderItemEntry[3], 1);
    EXPECT_EQ(config.RecordFieldList.size(), 2);
}

TEST(LoadConfigFile, BytesThatAreNotUtf8AreReadAsWindows1252)
{
    ConfigFixture f;
    QByteArray bytes = "F|0|Caf\xe9|Caf\xe9|1|0|0|0|0|T|1.1|Form_Name|L.1||\n||\n";
    f.dir.Write(QStringLiteral("latin.cfg"), bytes);
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("latin.cfg")));
    ASSERT_TRUE(ParseConfig(f.session.Config, 0));
    EXPECT_EQ(f.session.Config.ParsedEntry.EntryLabel, QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(f.session.Config.RecordFieldList[0].DisplayName, QStringLiteral("Record Caf\u00e9"));
}

TEST(LoadDefaultConfig, AMissingDefaultCfgIsReportedOnce)
{
    ConfigFixture f;
    EXPECT_FALSE(LoadDefaultConfig(f.session));
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"frmBrowser Load: Error reading Default.cfg: No such file or directory"});
}

TEST(LoadDefaultConfig, ABrokenDefaultCfgIsReportedOnce)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("default.cfg"), QByteArray("T|0|a|b\n||\n"));
    EXPECT_FALSE(LoadDefaultConfig(f.session));
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"frmBrowser Load: Error reading Default.cfg: entry 0 has 4 of the 15 "
                          "fields"});
    EXPECT_TRUE(f.session.Config.ConfigEntries.isEmpty());
}

TEST(ReadConfigText, EntryNumbersStayWithinSixteenBits)
{
    const QString entry = QStringLiteral("S|0|a|b|0|0|0|0|0|T|||||\n||\n");
    RecordTables tables;
    QString error;
    FormConfig full;
    ASSERT_TRUE(ReadConfigText(entry.repeated(32768), tables, full, &error)) << error.toStdString();
    EXPECT_EQ(full.LastEntryIndex, 32767);
    EXPECT_EQ(full.ConfigEntries.size(), 32768);

    FormConfig tooMany;
    EXPECT_FALSE(
        ReadConfigText(entry.repeated(32768) + QStringLiteral("S|"), tables, tooMany, &error));
    EXPECT_EQ(error, "more than 32768 entries");
}

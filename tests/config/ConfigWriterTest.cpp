#include "config/ConfigReader.h"
#include "config/ConfigWriter.h"
#include "ConfigTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kFile = "# Comments are not kept\n"
                         "\n"
                         "F|0|Record Name|Name|1|0|0|0|0|M|1.1|Form_Name|L.1||\n"
                         "||\n"
                         "# nor is this one\n"
                         "T|2|Colour\r\nchoice|Colour|0|1|0|10|0|T|2.2|Field_Value|G1.2||\n"
                         "Red\n"
                         "Green\n"
                         "Blue\n"
                         "  ||\n";

const QByteArray kSaved = "F|0|Record Name|Name|1|0|0|0|0|M|1.1|Form_Name|L.1||\n"
                          "||\n"
                          "T|2|Colour\nchoice|Colour|0|1|0|10|0|T|2.2|Field_Value|G1.2||\n"
                          "Red\n"
                          "Green\n"
                          "Blue\n"
                          "  ||\n";

} // namespace

TEST(SaveConfigFile, WritesTheEntriesWithLineFeedsAndReadsBackTheSame)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("form.cfg"), kFile);
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("form.cfg")));
    const FormConfig before = f.session.Config;

    const QString path = f.dir.File(QStringLiteral("saved.cfg"));
    f.ui.statusTexts.clear();
    f.ui.QueueFiles({path});
    SaveConfigFile(f.session);
    ASSERT_EQ(f.ui.saveRequests.size(), 1);
    const FileDialogRequest& request = f.ui.saveRequests[0];
    EXPECT_EQ(request.title, "Save Configuration File As...");
    EXPECT_EQ(request.proposedName, "*.cfg");
    EXPECT_EQ(request.filters,
              ParseFileFilters("All Files (*.*)|*.*|Form Configuration Files (*.cfg)|*.cfg|"));
    EXPECT_EQ(request.selectedFilter, 1);
    EXPECT_EQ(f.ui.statusTexts, (QStringList{"Saving Configuration to file " + path,
                                             "Configuration saved to file " + path}));
    EXPECT_TRUE(f.ui.messages.isEmpty());
    EXPECT_EQ(f.ui.busyDepth, 0);
    EXPECT_EQ(f.dir.Read(QStringLiteral("saved.cfg")), kSaved);

    ASSERT_TRUE(LoadConfigFile(f.session, path));
    const FormConfig& after = f.session.Config;
    EXPECT_EQ(after.ConfigEntries, before.ConfigEntries);
    EXPECT_EQ(after.LastEntryIndex, before.LastEntryIndex);
    EXPECT_EQ(after.HeaderItemEntry, before.HeaderItemEntry);
    EXPECT_EQ(after.GridEntry, before.GridEntry);
    EXPECT_EQ(after.RecordFieldList, before.RecordFieldList);
    ASSERT_TRUE(ParseConfig(f.session.Config, 1));
    EXPECT_EQ(ComboChoices(f.session.Config.ParsedEntry), (QStringList{"Red", "Green", "Blue"}));
}

TEST(SaveConfigFile, LeavesOutAnUnfinishedLastEntry)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("form.cfg"),
                "F|0|Record Name|Name|1|0|0|0|0|M|1.1|Form_Name|L.1||\n||\nT|0|half");
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("form.cfg")));
    ASSERT_EQ(f.session.Config.ConfigEntries.size(), 2);
    f.ui.QueueFiles({f.dir.File(QStringLiteral("saved.cfg"))});
    SaveConfigFile(f.session);
    EXPECT_EQ(f.dir.Read(QStringLiteral("saved.cfg")),
              "F|0|Record Name|Name|1|0|0|0|0|M|1.1|Form_Name|L.1||\n||\n");
}

TEST(SaveConfigFile, AsksBeforeOverwritingAnExistingFile)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("form.cfg"), kFile);
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("form.cfg")));
    const QString path = f.dir.Write(QStringLiteral("old.cfg"), "keep me\n");
    const QString question = "File " + path + " already exists. Do you wish to overwrite it?";

    f.ui.QueueFiles({path});
    f.ui.QueueAnswer(MessageAnswer::No);
    SaveConfigFile(f.session);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0].text, question);
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(f.ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.ui.StatusText(), "Save configuration cancelled");
    EXPECT_EQ(f.dir.Read(QStringLiteral("old.cfg")), "keep me\n");

    f.ui.QueueFiles({path});
    f.ui.QueueAnswer(MessageAnswer::Yes);
    SaveConfigFile(f.session);
    EXPECT_EQ(f.ui.MessageTexts(), (QStringList{question, question}));
    EXPECT_EQ(f.ui.StatusText(), "Configuration saved to file " + path);
    EXPECT_EQ(f.dir.Read(QStringLiteral("old.cfg")), kSaved);
}

TEST(SaveConfigFile, CancellingTheDialogWritesNothing)
{
    ConfigFixture f;
    f.ui.QueueCancel();
    SaveConfigFile(f.session);
    EXPECT_EQ(f.ui.statusTexts, QStringList{"Save configuration cancelled"});
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(SaveConfigFile, AFileThatCannotBeWrittenShowsTheReasonAlone)
{
    ConfigFixture f;
    f.dir.Write(QStringLiteral("form.cfg"), kFile);
    ASSERT_TRUE(LoadConfigFile(f.session, QStringLiteral("form.cfg")));
    const QString path = f.dir.File(QStringLiteral("no such folder/saved.cfg"));
    f.ui.QueueFiles({path});
    SaveConfigFile(f.session);
    EXPECT_FALSE(f.ui.StatusText().isEmpty());
    EXPECT_FALSE(f.ui.StatusText().startsWith(QStringLiteral("Configuration saved")));
    EXPECT_EQ(f.ui.statusTexts.at(f.ui.statusTexts.size() - 2),
              "Saving Configuration to file " + path);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(f.ui.busyDepth, 0);
}

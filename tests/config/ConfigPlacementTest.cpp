#include "config/ConfigPlacement.h"
#include "config/ConfigReader.h"
#include "session/RecordTables.h"

#include <gtest/gtest.h>

namespace {

struct Loaded {
    FormConfig config;
    QString error;
    bool ok = false;
};

Loaded Read(const QString& text)
{
    Loaded loaded;
    RecordTables tables;
    loaded.ok = ReadConfigText(text, tables, loaded.config, &loaded.error);
    return loaded;
}

QString Entry(const QString& kind, const QString& label, const QString& shortName,
              const QString& location, const QString& field, const QString& placement)
{
    return QStringLiteral("%1|0|%2|%3|1|0|0|0|0|T|%4|%5|%6||\n||\n")
        .arg(kind, label, shortName, location, field, placement);
}

} // namespace

TEST(ReadPlacement, KnowsHeaderItemsFramesAndGridRows)
{
    const ViewerPlace l = ReadPlacement(QStringLiteral("L.3"));
    EXPECT_EQ(l.kind, ViewerPlace::HeaderItem);
    EXPECT_EQ(l.number, 3);
    const ViewerPlace lx = ReadPlacement(QStringLiteral("Lx.3"));
    EXPECT_EQ(lx.kind, ViewerPlace::HeaderItem);
    EXPECT_EQ(lx.number, 3);
    const ViewerPlace f = ReadPlacement(QStringLiteral("Frame.2"));
    EXPECT_EQ(f.kind, ViewerPlace::Frame);
    EXPECT_EQ(f.number, 2);
    const ViewerPlace g = ReadPlacement(QStringLiteral("G2.5"));
    EXPECT_EQ(g.kind, ViewerPlace::GridRow);
    EXPECT_EQ(g.number, 2);
    EXPECT_EQ(g.row, 5);
    for (const QString& other : {QString(), QStringLiteral("L3"), QStringLiteral("X.1"),
                                 QStringLiteral("l.1"), QStringLiteral(".1")})
        EXPECT_EQ(ReadPlacement(other).kind, ViewerPlace::NotShown) << other.toStdString();
    EXPECT_FALSE(ReadPlacement(QStringLiteral("G1.99999")).fits);
}

TEST(Placement, BindsHeaderItemsFramesAndGridRows)
{
    const Loaded loaded = Read(Entry("F", "Date", "Date", "1.3", "Form_Date", "Lx.3") +
                               Entry("T", "Panel", "Panel", "", "", "F.2") +
                               Entry("S", "Value", "Value", "2.2", "Field_Value", "G2.5") +
                               Entry("I", "Row", "Row", "7.4", "", "G3.0"));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    const FormConfig& c = loaded.config;
    EXPECT_EQ(c.HeaderItemEntry[3], 0);
    EXPECT_EQ(c.HeaderItemColumn[3], 3);
    EXPECT_EQ(c.FrameEntry[2], 1);
    EXPECT_EQ(c.GridEntry[2][5], 2);
    EXPECT_EQ(c.GridTable[2][5], 2);
    EXPECT_EQ(c.GridColumn[2][5], 2);
    EXPECT_EQ(c.GridEntry[3][0], 3);
    EXPECT_EQ(c.GridTable[3][0], 7);
    EXPECT_EQ(c.GridColumn[3][0], 4);
    // Everything else stays unconfigured.
    EXPECT_EQ(c.HeaderItemEntry[0], FormConfig::kNoEntry);
    EXPECT_EQ(c.HeaderItemColumn[0], FormConfig::kNoColumn);
    EXPECT_EQ(c.FrameEntry[0], FormConfig::kNoEntry);
    EXPECT_EQ(c.GridEntry[0][0], FormConfig::kNoEntry);
}

TEST(Placement, AHeaderItemShowsTableOneWhateverTableItsLocationNames)
{
    const Loaded loaded = Read(Entry("T", "Notes", "Notes", "5.2", "Form_Notes", "L.4"));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(loaded.config.HeaderItemColumn[4], 2);
    EXPECT_EQ(loaded.config.SummaryCaptions.value("Form_Notes"), "Notes");
}

TEST(Placement, ALaterEntryForTheSamePlaceWins)
{
    const Loaded loaded = Read(Entry("T", "First", "A", "1.1", "Form_Name", "L.1") +
                               Entry("T", "Second", "B", "1.2", "Form_Name", "L.1"));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(loaded.config.HeaderItemEntry[1], 1);
    EXPECT_EQ(loaded.config.HeaderItemColumn[1], 2);
    EXPECT_EQ(loaded.config.SummaryCaptions.value("Form_Name"), "Second");
}

TEST(Placement, PlacesBeyondTheViewerFailTheLoad)
{
    struct Case {
        QString placement;
        QString location;
        QString error;
    };
    const Case cases[] = {
        {"L.6", "1.1", "entry 0: header item 6 is beyond the viewer's header items 0 to 5"},
        {"L.-1", "1.1", "entry 0: header item -1 is beyond the viewer's header items 0 to 5"},
        {"F.4", "", "entry 0: frame 4 is beyond the viewer's frames 0 to 3"},
        {"G4.0", "2.1", "entry 0: grid section 4 is beyond the viewer's grid sections 0 to 3"},
        {"G0.8", "2.1", "entry 0: grid row 8 is beyond the viewer's grid rows 0 to 7"},
        {"G0.70000", "2.1", "entry 0: placement G0.70000 holds a number out of range"},
        {"L.1", "1.6", "entry 0: the record has no cell 1.6"},
        {"G0.1", "2.4", "entry 0: the record has no cell 2.4"},
        {"G0.1", "8.0", "entry 0: the record has no cell 8.0"},
        {"G0.1", "2", "entry 0: data location '2' is not a table.column cell"},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Read(Entry("F", "Label", "Short", c.location, "X", c.placement));
        EXPECT_FALSE(loaded.ok) << c.placement.toStdString();
        EXPECT_EQ(loaded.error, c.error) << c.placement.toStdString();
    }
}

TEST(RecordFieldList, HoldsFieldEntriesOnRecordCellsInFileOrder)
{
    const Loaded loaded = Read(Entry("F", " record id ", "Number", "1.0", "FormID", "") +
                               Entry("T", "Name", "Name", "1.1", "Form_Name", "") +
                               Entry("I", "When", "Date", "1.3", "Form_Date", "L.3") +
                               Entry("F", "Value", "Value", "2.2", "Field_Value", "") +
                               Entry("S", "Notes", "Notes", "1.2", "Form_Notes", "") +
                               Entry("F", "Source", "Filename", "1", "File_Name", ""));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(loaded.config.RecordFieldList,
              (QList<RecordField>{{0, "Forms.FormID", "Record ID"},
                                  {2, "Forms.Form_Date", "Record Date"},
                                  {5, "Forms.File_Name", "Record Filename"}}));
}

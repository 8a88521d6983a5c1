#include "OutputFixture.h"

#include "database/DatabaseCreation.h"
#include "database/PseudonymKey.h"
#include "output/FieldAnonymiser.h"
#include "platform/DatabaseConnection.h"

#include <QRegularExpression>

namespace {

const QByteArray kKeyA(32, 'a');
const QByteArray kKeyB(32, 'b');

class FieldAnonymiserTest : public OutputFixture {
protected:
    const QList<OutputField> list{{QStringLiteral("1.1"), QStringLiteral("Record Name"), true},
                                  {QStringLiteral("email"), QString(), true},
                                  {QStringLiteral("city"), QString(), true}};
};

} // namespace

TEST_F(FieldAnonymiserTest, PseudonymsAreStablePerKeyAndLeaveBlanksBlank)
{
    const QString p = Pseudonym(kKeyA, QStringLiteral("ann@example.org"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^p-[0-9a-f]{12}$")).match(p).hasMatch())
        << qPrintable(p);
    EXPECT_EQ(Pseudonym(kKeyA, QStringLiteral("ann@example.org")), p);
    EXPECT_NE(Pseudonym(kKeyB, QStringLiteral("ann@example.org")), p);
    EXPECT_NE(Pseudonym(kKeyA, QStringLiteral("Ann@example.org")), p);
    EXPECT_EQ(Pseudonym(kKeyA, QString()), QString());
}

TEST_F(FieldAnonymiserTest, ReplacesTheNamedHeaderCellsAndFieldsOnly)
{
    SetRecord({"7", "Ann", "notes"}, {{"Email", "ann@example.org"}, {"city", "Oslo"}});
    QString unknown;
    const FieldAnonymiser anonymiser(list, 1, {"record name", "EMAIL"}, kKeyA, &unknown);
    ASSERT_TRUE(unknown.isEmpty());
    anonymiser.Apply(session.Tables);
    const RecordTables& t = session.Tables;
    EXPECT_EQ(t.Header(1), Pseudonym(kKeyA, QStringLiteral("Ann")));
    EXPECT_EQ(t.Header(2), QStringLiteral("notes"));
    EXPECT_EQ(t.Field(0, 2), Pseudonym(kKeyA, QStringLiteral("ann@example.org")));
    EXPECT_EQ(t.Field(1, 2), QStringLiteral("Oslo"));

    EXPECT_TRUE(FieldAnonymiser(list, 1, {"phone"}, kKeyA, &unknown).IsEmpty());
    EXPECT_EQ(unknown, QStringLiteral("phone"));
    QList<OutputField> omitted = list;
    EXPECT_EQ(OmitOutputFields(omitted, {"city", "phone"}), QStringLiteral("phone"));
    EXPECT_TRUE(omitted[2].PrintStat);
    EXPECT_EQ(OmitOutputFields(omitted, {" City "}), QString());
    EXPECT_FALSE(omitted[2].PrintStat);
    EXPECT_TRUE(omitted[1].PrintStat);
}

TEST_F(FieldAnonymiserTest, EachDatabaseMakesItsKeyOnceAndKeepsIt)
{
    QByteArray keys[2];
    for (int i = 0; i < 2; ++i) {
        const QString path = dir.File(QStringLiteral("k%1.fdb").arg(i));
        ScriptedUi quiet;
        ASSERT_TRUE(CreateNewDatabase(quiet, path));
        {
            DatabaseConnection db(path, session.Now);
            EXPECT_TRUE(StoredPseudonymKey(db).isEmpty());
            keys[i] = PseudonymKeyOf(db);
        }
        DatabaseConnection again(path, session.Now, DatabaseAccess::ReadOnly);
        EXPECT_EQ(StoredPseudonymKey(again), keys[i]);
        EXPECT_EQ(keys[i].size(), 32);
    }
    EXPECT_NE(keys[0], keys[1]);
}

#include "platform/Regional.h"
#include "support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

QDate D(int y, int m, int d)
{
    return QDate(y, m, d);
}

} // namespace

TEST(RegionalDates, WritesShortFormatWithFourDigitYear)
{
    const Regional us(TestLocale());
    EXPECT_EQ(us.DateToText(D(2026, 12, 8)), QStringLiteral("12/8/2026"));
    EXPECT_EQ(us.DateToText(D(1926, 12, 8)), QStringLiteral("12/8/1926"));
    EXPECT_EQ(us.DateToText(QDate()), QString());

    const Regional de(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DateToText(D(1998, 1, 5)), QStringLiteral("05.01.1998"));
}

TEST(RegionalDates, WrittenDatesReadBackUnchanged)
{
    for (const QLocale& locale : {TestLocale(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedKingdom),
                                  QLocale(QLocale::Japanese, QLocale::Japan)}) {
        const Regional regional(locale);
        for (const QDate& date : {D(1926, 12, 8), D(2026, 12, 8), D(2000, 2, 29), D(1999, 1, 31)}) {
            const auto back = regional.ParseDate(regional.DateToText(date));
            ASSERT_TRUE(back.has_value()) << locale.name().toStdString();
            EXPECT_EQ(*back, date) << locale.name().toStdString();
        }
    }
}

TEST(RegionalDates, ReadsTypedDatesLeniently)
{
    const Regional us(TestLocale());
    EXPECT_EQ(us.ParseDate(QStringLiteral("12/8/26")), D(2026, 12, 8));
    EXPECT_EQ(us.ParseDate(QStringLiteral("1/5/98")), D(1998, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("1/5/30")), D(1930, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("1/5/29")), D(2029, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("2026-12-08")), D(2026, 12, 8));
    EXPECT_EQ(us.ParseDate(QStringLiteral("2026-12-08T10:30:00")), D(2026, 12, 8));
    EXPECT_EQ(us.ParseDate(QStringLiteral(" 12/08/2026 10:30 PM ")), D(2026, 12, 8));
    EXPECT_EQ(us.ParseDate(QStringLiteral("January 5, 1998")), D(1998, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("5 Jan 1998")), D(1998, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("5-jan-98")), D(1998, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("Tuesday, December 8, 2026")), D(2026, 12, 8));
    EXPECT_EQ(us.ParseDate(us.Locale().toString(D(2026, 12, 8), QLocale::LongFormat)),
              D(2026, 12, 8));

    const Regional de(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.ParseDate(QStringLiteral("8.12.26")), D(2026, 12, 8));
    EXPECT_EQ(de.ParseDate(QStringLiteral("8. Dezember 2026")), D(2026, 12, 8));
}

TEST(RegionalDates, RefusesWhatIsNoDate)
{
    const Regional us(TestLocale());
    for (const char* text : {"", "   ", "tomorrow", "31/31/99", "2/30/2020", "12.50", "1998",
                             "12 apples", "13/1/2020", "Jan Feb 2020", "1/2/123"}) {
        EXPECT_FALSE(us.IsDate(QString::fromUtf8(text))) << text;
    }
}

TEST(RegionalNumbers, AcceptsLocaleAndPlainNotation)
{
    const Regional us(TestLocale());
    EXPECT_EQ(us.ParseNumber(QStringLiteral(" 12.50 ")), 12.5);
    EXPECT_EQ(us.ParseNumber(QStringLiteral("-3")), -3.0);
    EXPECT_EQ(us.ParseNumber(QStringLiteral("1,000")), 1000.0);
    EXPECT_FALSE(us.IsNumeric(QStringLiteral("12 apples")));
    EXPECT_FALSE(us.IsNumeric(QStringLiteral("")));
    EXPECT_FALSE(us.IsNumeric(QStringLiteral("  ")));
    EXPECT_FALSE(us.IsNumeric(QStringLiteral("abc")));

    const Regional de(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.ParseNumber(QStringLiteral("12,5")), 12.5);
}

TEST(RegionalNumbers, EveryLocaleAnswersAsItsOwnReaderAndNoDateIsANumber)
{
    // Numbers as each locale writes them, and texts that are no numbers,
    // get the answer of the locale's reader and then the C locale's;
    // dates, times and addresses are no numbers in any locale.
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    for (const QLocale& locale : locales) {
        const Regional regional(locale);
        QStringList texts{locale.toString(1234567.25, 'f', 2),
                          locale.toString(-0.5),
                          locale.toString(6.02e23, 'e', 3),
                          locale.toString(-1e-7, 'g', 4),
                          locale.toString(qint64(-9876543)),
                          locale.toString(qInf()),
                          locale.toString(qQNaN()),
                          QStringLiteral("inf"),
                          QStringLiteral("1e5"),
                          QStringLiteral("1'234.5")};
        const QStringList notNumbers{QStringLiteral("3/14/2021"), QStringLiteral("14:30"),
                                     QStringLiteral("a@b.org"),   QStringLiteral("(12)"),
                                     QStringLiteral("12%"),       QStringLiteral("Mar 14, 2001")};
        for (const QString& text : texts + notNumbers) {
            bool ok = false;
            double expected = locale.toDouble(text.trimmed(), &ok);
            if (!ok)
                expected = QLocale::c().toDouble(text.trimmed(), &ok);
            const std::optional<double> got = regional.ParseNumber(text);
            ASSERT_EQ(got.has_value(), ok) << qPrintable(locale.name() + " " + text);
            if (ok && !std::isnan(expected)) {
                EXPECT_EQ(*got, expected) << qPrintable(locale.name() + " " + text);
            }
        }
        for (const QString& text : notNumbers)
            EXPECT_FALSE(regional.IsNumeric(text)) << qPrintable(locale.name() + " " + text);
    }
}

TEST(RegionalDates, AskedAgainTheSameTextGivesTheSameAnswer)
{
    // Asked in turn about texts that are dates and texts that are not, each
    // answer is the one the text gives asked first.
    const Regional us(TestLocale());
    const QStringList texts = {"12/8/26", "12/8/26", "tomorrow", "tomorrow",  "1/5/98",
                               "12/8/26", "",        "1/5/98",   "2/30/2020", "2/29/2020"};
    for (const QString& text : texts) {
        const Regional fresh(TestLocale());
        EXPECT_EQ(us.ParseDate(text), fresh.ParseDate(text)) << text.toStdString();
    }
}

TEST(RegionalDates, IsoTextIsQtsOwn)
{
    for (const QDate& date :
         {D(1, 1, 1), D(9, 9, 9), D(99, 12, 31), D(999, 10, 1), D(1000, 1, 1), D(1998, 1, 5),
          D(2026, 12, 8), D(9999, 12, 31), D(10000, 1, 1), D(-5, 3, 3), QDate()}) {
        EXPECT_EQ(IsoDateText(date), date.toString(Qt::ISODate))
            << date.toString(Qt::ISODate).toStdString();
    }
    for (QDate date = D(1899, 12, 25); date < D(1901, 2, 3); date = date.addDays(1))
        ASSERT_EQ(IsoDateText(date), date.toString(Qt::ISODate));
}

TEST(RegionalDates, NumbersAndTimesAloneAreNoDates)
{
    const Regional us(TestLocale());
    for (const char* text : {"18", "+44 20 7946 1", "Jan 5", "5 Jan", "10:30", "10:30 PM",
                             "2026-12", "1998-", "Person 12", "12-", "-5"}) {
        EXPECT_FALSE(us.IsDate(QString::fromUtf8(text))) << text;
    }
    EXPECT_EQ(us.ParseDate(QStringLiteral("5 Jan 1998 10:30")), D(1998, 1, 5));
    EXPECT_EQ(us.ParseDate(QStringLiteral("2026-12-08 10:30")), D(2026, 12, 8));
    EXPECT_EQ(us.ParseDate(QStringLiteral("1/5/1998 9:05:00 am")), D(1998, 1, 5));
}

#pragma once

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>
#include <optional>

// The user's regional settings for dates and numbers. Dates are written in
// the locale's short format, always with a four-digit year, and read back
// leniently; numbers are tested with the locale's separators.
// The ISO 8601 form "YYYY-MM-DD" of a date, as QDate::toString(Qt::ISODate)
// gives it.
QString IsoDateText(const QDate& date);

class Regional {
public:
    explicit Regional(QLocale locale = QLocale::system());

    const QLocale& Locale() const { return m_locale; }

    // The short date format with its year widened to four digits.
    QString ShortDateFormat() const { return m_shortFormat; }
    QString DateToText(const QDate& date) const;

    // Reads a date typed by a person or written by the program: the locale's
    // short and long formats, ISO 8601, month names (locale and English),
    // with an optional time of day that is ignored. Two-digit years read as
    // 1930 to 2029.
    std::optional<QDate> ParseDate(const QString& text) const;
    bool IsDate(const QString& text) const { return ParseDate(text).has_value(); }

    // A number with optional blanks around it, in the locale's notation or
    // in plain notation with a decimal point.
    std::optional<double> ParseNumber(const QString& text) const;
    bool IsNumeric(const QString& text) const { return ParseNumber(text).has_value(); }

private:
    enum class Order { MonthDayYear, DayMonthYear, YearMonthDay };

    std::optional<QDate> ParseDateText(const QString& text) const;
    // A quick test that rules out most texts before any pattern runs.
    bool MayBeDate(const QString& text) const;
    int MonthFromName(const QString& word) const;
    bool IsDayName(const QString& word) const;

    QLocale m_locale;
    QString m_shortFormat;
    Order m_order;
    // Case-folded month and day names of the locale and of English, looked
    // up once: asking the system locale for them on every date is slow.
    QHash<QString, int> m_months;
    QSet<QString> m_dayNames;
    // Records read one after another mostly share their dates.
    mutable QDate m_lastDate;
    mutable QString m_lastDateText;
    // And records written one after another the texts of their dates.
    mutable QString m_lastParsedText;
    mutable std::optional<QDate> m_lastParsed;
    mutable bool m_parsedAny = false;
};

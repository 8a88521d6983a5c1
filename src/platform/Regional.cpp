#include "platform/Regional.h"

#include <QRegularExpression>
#include <string_view>

namespace {

QString WidenYear(QString format)
{
    static const QRegularExpression years(QStringLiteral("y+"));
    format.replace(years, QStringLiteral("yyyy"));
    return format;
}

int ExpandYear(const QString& digits)
{
    const int value = digits.toInt();
    if (digits.size() <= 2)
        return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

struct Token {
    QString text;
    bool number = false;
};

} // namespace

Regional::Regional(QLocale locale)
    : m_locale(std::move(locale)),
      m_shortFormat(WidenYear(m_locale.dateFormat(QLocale::ShortFormat)))
{
    const QString f = m_shortFormat;
    const qsizetype d = f.indexOf(QLatin1Char('d'));
    const qsizetype m = f.indexOf(QLatin1Char('M'));
    const qsizetype y = f.indexOf(QLatin1Char('y'));
    if (y >= 0 && y < m && y < d)
        m_order = Order::YearMonthDay;
    else if (d >= 0 && d < m)
        m_order = Order::DayMonthYear;
    else
        m_order = Order::MonthDayYear;

    const auto folded = [](QString name) {
        name = name.toCaseFolded();
        if (name.endsWith(QLatin1Char('.')))
            name.chop(1);
        return name;
    };
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale& loc : {english, m_locale}) {
        for (auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (int month = 1; month <= 12; ++month) {
                for (const QString& name :
                     {loc.monthName(month, format), loc.standaloneMonthName(month, format)}) {
                    if (!folded(name).isEmpty())
                        m_months.insert(folded(name), month);
                }
            }
            for (int day = 1; day <= 7; ++day) {
                if (!folded(loc.dayName(day, format)).isEmpty())
                    m_dayNames.insert(folded(loc.dayName(day, format)));
            }
        }
    }
}

QString Regional::DateToText(const QDate& date) const
{
    if (!date.isValid())
        return {};
    if (date != m_lastDate) {
        m_lastDateText = m_locale.toString(date, m_shortFormat);
        m_lastDate = date;
    }
    return m_lastDateText;
}

int Regional::MonthFromName(const QString& word) const
{
    return m_months.value(word.toCaseFolded(), 0);
}

bool Regional::IsDayName(const QString& word) const
{
    return m_dayNames.contains(word.toCaseFolded());
}

bool Regional::MayBeDate(const QString& text) const
{
    // Every date form holds a day and a year in digits, only the characters
    // dates and times are written with, and no word but a month or day name,
    // a time's am/pm or ISO's T and Z.
    static const QSet<QString> timeWords = {
        QStringLiteral("am"), QStringLiteral("pm"), QStringLiteral("a"), QStringLiteral("p"),
        QStringLiteral("m"),  QStringLiteral("t"),  QStringLiteral("z")};
    // Every date form holds at least two runs of digits (a day and a year);
    // most values that are no date hold fewer.
    int digitRuns = 0;
    bool inDigits = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const bool digit = c.isDigit();
        if (digit && !inDigits)
            ++digitRuns;
        inDigits = digit;
        if (c.isLetter()) {
            qsizetype j = i;
            while (j < text.size() && text[j].isLetter())
                ++j;
            const QString word = text.mid(i, j - i).toCaseFolded();
            if (!timeWords.contains(word) && !m_months.contains(word) && !m_dayNames.contains(word))
                return false;
            i = j;
            continue;
        }
        if (!digit && !c.isSpace() && !QStringLiteral("/-.,:+").contains(c))
            return false;
        ++i;
    }
    return digitRuns >= 2;
}

QString IsoDateText(const QDate& date)
{
    const int year = date.isValid() ? date.year() : 0;
    if (year < 1 || year > 9999)
        return date.toString(Qt::ISODate);
    const int month = date.month();
    const int day = date.day();
    const char16_t text[10] = {char16_t(u'0' + year / 1000),
                               char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10),
                               char16_t(u'0' + year % 10),
                               u'-',
                               char16_t(u'0' + month / 10),
                               char16_t(u'0' + month % 10),
                               u'-',
                               char16_t(u'0' + day / 10),
                               char16_t(u'0' + day % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 10);
}

std::optional<QDate> Regional::ParseDate(const QString& input) const
{
    if (m_parsedAny && input == m_lastParsedText)
        return m_lastParsed;
    const std::optional<QDate> date = ParseDateText(input);
    m_lastParsedText = input;
    m_lastParsed = date;
    m_parsedAny = true;
    return date;
}

std::optional<QDate> Regional::ParseDateText(const QString& input) const
{
    // The longest date anyone writes, with its day name and a time of day,
    // is some fifty characters; a longer text is no date, and is not read
    // through (a template asks about its values once for every line).
    constexpr qsizetype kLongestDate = 100;
    if (input.size() > 4 * kLongestDate)
        return std::nullopt;
    QString text = input.trimmed();
    if (text.size() > kLongestDate || !MayBeDate(text))
        return std::nullopt;

    static const QRegularExpression iso(QStringLiteral(
        "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ]\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?"
        "(?:Z|[+-]\\d{2}:?\\d{2})?)?$"));
    // The patterns run only on texts that can match them: ISO dates begin
    // with four digits and a dash, and a time of day holds a colon.
    const bool isoShaped = text.size() >= 8 && text[0].isDigit() && text[1].isDigit() &&
                           text[2].isDigit() && text[3].isDigit() && text[4] == QLatin1Char('-');
    if (const auto m = isoShaped ? iso.match(text) : QRegularExpressionMatch(); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    }

    // A time of day may follow the date; it is not part of the date.
    static const QRegularExpression time(
        QStringLiteral("(?:^|\\s)\\d{1,2}:\\d{2}(?::\\d{2})?(?:\\s*[AaPp]\\.?[Mm]\\.?)?\\s*$"));
    if (text.contains(QLatin1Char(':'))) {
        if (const auto m = time.match(text); m.hasMatch())
            text = text.left(m.capturedStart()).trimmed();
    }
    if (text.isEmpty())
        return std::nullopt;

    QList<Token> tokens;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c.isDigit()) {
            qsizetype j = i;
            while (j < text.size() && text[j].isDigit())
                ++j;
            tokens.append({text.mid(i, j - i), true});
            i = j;
        } else if (c.isLetter()) {
            qsizetype j = i;
            while (j < text.size() && text[j].isLetter())
                ++j;
            tokens.append({text.mid(i, j - i), false});
            i = j;
        } else if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
                   c == QLatin1Char(',') || c.isSpace()) {
            ++i;
        } else {
            return std::nullopt;
        }
    }

    int month = 0;
    QList<QString> numbers;
    bool monthFirst = false;
    for (const Token& t : tokens) {
        if (t.number) {
            numbers.append(t.text);
            continue;
        }
        if (IsDayName(t.text))
            continue;
        const int m = MonthFromName(t.text);
        if (m == 0 || month != 0)
            return std::nullopt;
        month = m;
        monthFirst = numbers.isEmpty();
    }

    int year = 0;
    int day = 0;
    if (month != 0) {
        if (numbers.size() != 2)
            return std::nullopt;
        // "1998 Jan 5" puts the year first; otherwise the day comes first.
        if (numbers[0].size() > 2 && !monthFirst) {
            year = ExpandYear(numbers[0]);
            day = numbers[1].toInt();
        } else {
            day = numbers[0].toInt();
            year = ExpandYear(numbers[1]);
            if (numbers[1].size() > 4)
                return std::nullopt;
        }
    } else {
        if (numbers.size() != 3)
            return std::nullopt;
        Order order = m_order;
        if (numbers[0].size() > 2)
            order = Order::YearMonthDay;
        QString y;
        switch (order) {
        case Order::YearMonthDay:
            y = numbers[0];
            month = numbers[1].toInt();
            day = numbers[2].toInt();
            break;
        case Order::DayMonthYear:
            day = numbers[0].toInt();
            month = numbers[1].toInt();
            y = numbers[2];
            break;
        case Order::MonthDayYear:
            month = numbers[0].toInt();
            day = numbers[1].toInt();
            y = numbers[2];
            break;
        }
        if (y.size() == 3 || y.size() > 4 || numbers[1].size() > 2)
            return std::nullopt;
        year = ExpandYear(y);
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

namespace {

// No locale writes a number with one of these characters (the letters
// left out are those of exponents, "inf", "infinity" and "nan"), so a text
// holding one, such as a date or a time, is told apart without asking the
// locale and the C locale in turn.
bool CannotBeNumber(QStringView text)
{
    for (const QChar c : text) {
        char16_t u = c.unicode();
        if (u >= 0x80)
            continue;
        if (u >= u'A' && u <= u'Z')
            u = static_cast<char16_t>(u | 0x20);
        if (u >= u'a' && u <= u'z') {
            if (std::u16string_view(u"aefinty").find(u) == std::u16string_view::npos)
                return true;
            continue;
        }
        if (std::u16string_view(u"/:@#()[]{}<>=!?;\"\\|~`$%&*_").find(u) !=
            std::u16string_view::npos)
            return true;
    }
    return false;
}

} // namespace

std::optional<double> Regional::ParseNumber(const QString& input) const
{
    const QString text = input.trimmed();
    if (text.isEmpty() || CannotBeNumber(text))
        return std::nullopt;
    bool ok = false;
    double value = m_locale.toDouble(text, &ok);
    if (ok)
        return value;
    value = QLocale::c().toDouble(text, &ok);
    if (ok)
        return value;
    return std::nullopt;
}

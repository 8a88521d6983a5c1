#include "output/DateWords.h"

#include "platform/Regional.h"

namespace {

void AddName(QSet<QString>& words, QString name)
{
    name = name.toCaseFolded();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    if (!name.isEmpty())
        words.insert(name);
}

} // namespace

void DateWords::Gather(const Regional& regional)
{
    m_words.clear();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const QLocale& loc : {regional.Locale(), english}) {
        for (auto format : {QLocale::LongFormat, QLocale::ShortFormat, QLocale::NarrowFormat}) {
            for (int month = 1; month <= 12; ++month) {
                AddName(m_words, loc.monthName(month, format));
                AddName(m_words, loc.standaloneMonthName(month, format));
            }
            for (int day = 1; day <= 7; ++day) {
                AddName(m_words, loc.dayName(day, format));
                AddName(m_words, loc.standaloneDayName(day, format));
            }
        }
    }
    // A time of day may follow a date.
    for (const char* word : {"am", "pm", "a", "p", "m"})
        m_words.insert(QLatin1String(word));
    m_localeName = regional.Locale().name();
}

bool DateWords::MayBeDate(const Regional& regional, const QString& value)
{
    bool digit = false;
    for (const QChar c : value) {
        if (c.isDigit())
            digit = true;
        else if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('/') && c != QLatin1Char('-') &&
                 c != QLatin1Char('.') && c != QLatin1Char(',') && c != QLatin1Char(':') &&
                 c != QLatin1Char('+') && c != QLatin1Char('Z'))
            return false;
    }
    if (!digit)
        return false;
    if (m_words.isEmpty() || m_localeName != regional.Locale().name())
        Gather(regional);
    for (qsizetype i = 0; i < value.size();) {
        if (!value[i].isLetter()) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < value.size() && value[j].isLetter())
            ++j;
        // ISO dates carry a "T" between date and time.
        const QString word = value.mid(i, j - i).toCaseFolded();
        if (word != QStringLiteral("t") && word != QStringLiteral("z") && !m_words.contains(word))
            return false;
        i = j;
    }
    return true;
}

#pragma once

#include <QSet>
#include <QString>

class Regional;

// A quick test that rules out most values before the date parser sees
// them: a value can only be a date when it holds a digit, only the
// characters dates are written with, and no word other than a month or day
// name (in the user's language or in English). The names are gathered once
// per locale.
class DateWords {
public:
    bool MayBeDate(const Regional& regional, const QString& value);

private:
    void Gather(const Regional& regional);

    QString m_localeName;
    QSet<QString> m_words;
};

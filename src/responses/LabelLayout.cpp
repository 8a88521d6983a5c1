#include "responses/LabelLayout.h"

#include <QRegularExpression>

namespace {

constexpr qsizetype kMaxLabelLength = 40;
constexpr qsizetype kMaxLabelWords = 5;

struct LabelLine {
    QString label;
    QString value;
    bool alone = false; // "Label:" with its value on the lines after it
};

bool ReadLabelLine(const QString& line, LabelLine* out)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 1 || colon > kMaxLabelLength || !line[0].isLetter())
        return false;
    const QString label = line.left(colon).trimmed();
    if (label.count(QLatin1Char(' ')) >= kMaxLabelWords)
        return false;
    const QString rest = line.mid(colon + 1);
    if (!rest.isEmpty() && !rest[0].isSpace())
        return false;
    out->label = label;
    out->value = rest.trimmed();
    out->alone = out->value.isEmpty();
    return true;
}

bool EndsFields(const QString& line)
{
    return line == QLatin1String("-- ") || line == QLatin1String("--");
}

void TrimLineBreaks(QString& value)
{
    while (value.endsWith(QLatin1Char('\n')))
        value.chop(1);
    while (value.startsWith(QLatin1Char('\n')))
        value.remove(0, 1);
}

} // namespace

bool IsFormNotificationSubject(const QString& subject)
{
    static const QRegularExpression words(
        QStringLiteral("\\b(forms?|submissions?|enquiry|inquiry|new entry|new response)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(subject).hasMatch();
}

FormFields ReadLabelLines(const QStringList& lines)
{
    FormFields fields;
    bool alone = false;
    bool open = false; // the last value still takes the lines after it
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (EndsFields(raw) || EndsFields(line))
            break;
        LabelLine label;
        if (ReadLabelLine(line, &label)) {
            fields.append({label.label, label.value});
            alone = label.alone;
            open = true;
            continue;
        }
        if (fields.isEmpty() || !open)
            continue;
        if (line.isEmpty() && !alone) {
            open = false;
            continue;
        }
        fields.last().value += QLatin1Char('\n') + line;
    }
    if (fields.size() < kMinLabelLines)
        return {};
    for (FormField& field : fields)
        TrimLineBreaks(field.value);
    return fields;
}

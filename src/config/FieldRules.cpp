#include "config/FieldRules.h"

#include "session/Session.h"
#include "platform/Numbers.h"
#include "platform/ResponseText.h"

namespace {

const QString kCheckError = QStringLiteral("CheckField: Error checking Field: ");

// The entry that configures the control with this tag: an entry number,
// FormConfig::kNoEntry, or empty when the tag names a place the viewer
// does not have (reason in error).
std::optional<qint16> EntryOfTag(const FormConfig& config, const QString& tag, QString* error)
{
    const qsizetype dot = tag.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        const auto item = ToInt16(LeadingNumber(tag));
        if (!item || *item < 0 || *item >= ViewerLayout::kHeaderItems) {
            *error = QStringLiteral("there is no header item ") + tag;
            return std::nullopt;
        }
        return config.HeaderItemEntry[*item];
    }
    const auto section = ToInt16(LeadingNumber(tag.mid(1, dot - 1)));
    const auto row = ToInt16(LeadingNumber(tag.mid(dot + 1)));
    if (!section || !row || *section < 0 || *section >= ViewerLayout::kGridSections || *row < 0 ||
        *row >= ViewerLayout::kGridRows) {
        *error = QStringLiteral("there is no grid row ") + tag;
        return std::nullopt;
    }
    return config.GridEntry[*section][*row];
}

QString RequiredWarning(const QString& label)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Please note that '") + label + QStringLiteral("'") + crlf +
           QStringLiteral("is a required field and should not be left blank.") + crlf +
           QStringLiteral("Please remember to enter an appropriate response ") + crlf +
           QStringLiteral("before submitting your Record. Your Record is ") + crlf +
           QStringLiteral("being saved without this field");
}

} // namespace

bool CheckField(Session& session, const QString& tag, const QString& text, bool checkRequired)
{
    if (tag.isEmpty())
        return true;
    FormConfig& config = session.Config;
    QString error;
    const auto entry = EntryOfTag(config, tag, &error);
    if (entry && *entry == FormConfig::kNoEntry)
        return true;
    if (!entry || !ParseConfig(config, *entry, &error)) {
        session.ui.MessageBox(kCheckError + error, MessageIcon::None);
        return false;
    }

    const ConfigFields& rules = config.ParsedEntry;
    const bool blank = TrimBlanks(text).isEmpty();
    if (checkRequired && rules.RequiredFlag != 0 && blank)
        session.ui.MessageBox(RequiredWarning(rules.EntryLabel), MessageIcon::Exclamation);

    const Regional& regional = session.RegionalSettings;
    const QString numeric = QStringLiteral("This is a numeric field. Please enter a valid number.");
    QString message;
    if (rules.DataType == QLatin1String("D") && !blank && !regional.IsDate(text))
        message = QStringLiteral("Please enter a valid date");
    else if ((rules.DataType == QLatin1String("C") || rules.DataType == QLatin1String("L")) &&
             !blank && !regional.IsNumeric(text))
        message = numeric;
    else if (rules.DataType == QLatin1String("T") && text.toUcs4().size() > rules.MaxLength)
        message = QStringLiteral("Please restrict your response to ") +
                  QString::number(rules.MaxLength) + QStringLiteral(" characters for this field.");

    if (message.isEmpty())
        return true;
    session.ui.MessageBox(message, MessageIcon::Exclamation);
    return false;
}

#include "session/FormConfig.h"

#include "platform/Numbers.h"
#include "platform/ResponseText.h"

namespace {

const char* const kFieldNames[kConfigFieldCount] = {
    "EntryKind",    "SectionNumber", "EntryLabel", "ShortName",  "LabelStyle",
    "RequiredFlag", "Reserved7",     "MaxLength",  "Reserved9",  "DataType",
    "DataLocation", "DataField",     "Placement",  "Reserved14", "ComboItems"};

const QString kCrLf = QStringLiteral("\r\n");

std::optional<qint16> ReadNumber(const QString& field)
{
    return ToInt16(LeadingNumber(RemoveCRLF(true, field)));
}

QString ReadLabelText(const QString& field, qint16 section)
{
    const QString text = TrimBlanks(field);
    return section != 0 ? RemoveCRLF(true, text) : text;
}

QString ReadPlainText(const QString& field)
{
    return RemoveCRLF(true, TrimBlanks(field));
}

QString ReadListText(const QString& field)
{
    return RemoveCRLF(false, TrimBlanks(field));
}

bool IsEntryKind(const QString& kind)
{
    return kind == QLatin1String("T") || kind == QLatin1String("S") || kind == QLatin1String("F") ||
           kind == QLatin1String("I");
}

// The end line is a terminator: only its first "|" ends the last field, so
// the pipes of "||" never stand in for missing fields.
QString TextUpToEndLine(const QString& text)
{
    if (!text.endsWith(kCrLf))
        return text;
    const qsizetype previousBreak = text.lastIndexOf(kCrLf, text.size() - kCrLf.size() - 1);
    const qsizetype lineStart = previousBreak < 0 ? 0 : previousBreak + kCrLf.size();
    if (!IsConfigEndLine(text.mid(lineStart)))
        return text;
    return text.left(text.indexOf(QLatin1Char('|'), lineStart) + 1);
}

// Stores field number (1-based) of an entry; false when a number is out of
// the 16-bit range.
bool StoreField(ConfigFields& f, int number, const QString& field)
{
    auto number16 = [&](qint16& target) {
        const auto value = ReadNumber(field);
        if (!value)
            return false;
        target = *value;
        return true;
    };
    switch (number) {
    case 1:
        f.EntryKind = TrimBlanks(field.left(1));
        return true;
    case 2:
        return number16(f.SectionNumber);
    case 3:
        f.EntryLabel = ReadLabelText(field, f.SectionNumber);
        return true;
    case 4:
        f.ShortName = ReadLabelText(field, f.SectionNumber);
        return true;
    case 5:
        return number16(f.LabelStyle);
    case 6:
        return number16(f.RequiredFlag);
    case 7:
        return number16(f.Reserved7);
    case 8:
        return number16(f.MaxLength);
    case 9:
        return number16(f.Reserved9);
    case 10:
        f.DataType = ReadPlainText(field);
        return true;
    case 11:
        f.DataLocation = ReadPlainText(field);
        return true;
    case 12:
        f.DataField = ReadPlainText(field);
        return true;
    case 13:
        f.Placement = ReadPlainText(field);
        return true;
    case 14:
        f.Reserved14 = ReadPlainText(field);
        return true;
    case 15:
        f.ComboItems = ReadListText(field);
        return true;
    default:
        return true;
    }
}

} // namespace

FormConfig::FormConfig()
{
    HeaderItemEntry.fill(kNoEntry);
    HeaderItemColumn.fill(kNoColumn);
    FrameEntry.fill(kNoEntry);
    for (auto& section : GridEntry)
        section.fill(kNoEntry);
    for (auto& section : GridTable)
        section.fill(0);
    for (auto& section : GridColumn)
        section.fill(kNoColumn);
}

QString ConfigFieldName(int number)
{
    if (number < 1 || number > kConfigFieldCount)
        return {};
    return QString::fromLatin1(kFieldNames[number - 1]);
}

bool IsConfigEndLine(const QString& line)
{
    qsizetype i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    return QStringView(line).mid(i) == QLatin1String("||\r\n");
}

bool ParseConfig(FormConfig& config, int entry, QString* error)
{
    ConfigFields& fields = config.ParsedEntry;
    fields = ConfigFields();
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("entry %1 %2").arg(entry).arg(why);
        return false;
    };
    if (entry < 0 || entry >= config.ConfigEntries.size())
        return fail(QStringLiteral("does not exist"));
    const QString text = TextUpToEndLine(config.ConfigEntries[entry]);
    if (text.isEmpty())
        return fail(QStringLiteral("is empty"));

    int counter = 0;
    qsizetype fieldStart = 0;
    const qsizetype last = text.size() - 1;
    for (qsizetype p = 0; p <= last; ++p) {
        const bool separator = text[p] == QLatin1Char('|');
        if (!separator && p != last)
            continue;
        const qsizetype fieldEnd = separator ? p : p + 1;
        ++counter;
        if (!StoreField(fields, counter, text.mid(fieldStart, fieldEnd - fieldStart)))
            return fail(
                QStringLiteral("has a number out of range in %1").arg(ConfigFieldName(counter)));
        if (counter == 1 && !IsEntryKind(fields.EntryKind)) {
            fields = ConfigFields(); // an entry of no kind configures nothing
            return true;
        }
        if (counter == kConfigFieldCount)
            break;
        fieldStart = p + 1;
    }
    if (counter < kConfigFieldCount)
        return fail(QStringLiteral("has %1 of the %2 fields").arg(counter).arg(kConfigFieldCount));
    return true;
}

QStringList ComboChoices(const ConfigFields& fields)
{
    if (fields.ComboItems.isEmpty())
        return {};
    return fields.ComboItems.split(kCrLf);
}

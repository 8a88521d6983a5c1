#include "cli/CliContext.h"
#include "cli/Verbs.h"
#include "config/ConfigReader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

void PrintError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The fifteen parsed fields of an entry, numbers as numbers.
QList<QPair<QString, QJsonValue>> FieldValues(const ConfigFields& f)
{
    const QJsonValue values[kConfigFieldCount] = {
        f.EntryKind,    f.SectionNumber, f.EntryLabel, f.ShortName,  f.LabelStyle,
        f.RequiredFlag, f.Reserved7,     f.MaxLength,  f.Reserved9,  f.DataType,
        f.DataLocation, f.DataField,     f.Placement,  f.Reserved14, f.ComboItems};
    QList<QPair<QString, QJsonValue>> list;
    for (int i = 0; i < kConfigFieldCount; ++i)
        list.append({ConfigFieldName(i + 1), values[i]});
    return list;
}

QString ShownValue(const QJsonValue& value)
{
    if (value.isDouble())
        return QString::number(value.toInt());
    QString text = value.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\n      "));
    return text;
}

void PrintText(QTextStream& out, FormConfig& config)
{
    for (int entry = 0; entry <= config.LastEntryIndex; ++entry) {
        ParseConfig(config, entry);
        out << "Entry " << entry << "\n";
        for (const auto& [name, value] : FieldValues(config.ParsedEntry))
            out << "  " << name << ": " << ShownValue(value) << "\n";
    }
    out << "RecordFieldList\n";
    for (const RecordField& field : std::as_const(config.RecordFieldList))
        out << "  " << field.EntryNumber << "  " << field.QualifiedName << "  " << field.DisplayName
            << "\n";
    out << "Placements\n";
    for (int item = 0; item < ViewerLayout::kHeaderItems; ++item) {
        if (config.HeaderItemEntry[item] != FormConfig::kNoEntry)
            out << "  header item " << item << ": entry " << config.HeaderItemEntry[item]
                << ", header column " << config.HeaderItemColumn[item] << "\n";
    }
    for (int frame = 0; frame < ViewerLayout::kFrames; ++frame) {
        if (config.FrameEntry[frame] != FormConfig::kNoEntry)
            out << "  frame " << frame << ": entry " << config.FrameEntry[frame] << "\n";
    }
    for (int s = 0; s < ViewerLayout::kGridSections; ++s) {
        for (int r = 0; r < ViewerLayout::kGridRows; ++r) {
            if (config.GridEntry[s][r] != FormConfig::kNoEntry)
                out << "  grid row " << s << "." << r << ": entry " << config.GridEntry[s][r]
                    << ", cell " << config.GridTable[s][r] << "." << config.GridColumn[s][r]
                    << "\n";
        }
    }
}

QJsonObject ConfigJson(FormConfig& config, const QString& path)
{
    QJsonArray entries;
    for (int entry = 0; entry <= config.LastEntryIndex; ++entry) {
        ParseConfig(config, entry);
        QJsonObject fields;
        for (const auto& [name, value] : FieldValues(config.ParsedEntry))
            fields.insert(name, value);
        entries.append(
            QJsonObject{{QStringLiteral("number"), entry}, {QStringLiteral("fields"), fields}});
    }
    QJsonArray recordFields;
    for (const RecordField& field : std::as_const(config.RecordFieldList))
        recordFields.append(QJsonObject{{QStringLiteral("entry"), field.EntryNumber},
                                        {QStringLiteral("qualifiedName"), field.QualifiedName},
                                        {QStringLiteral("displayName"), field.DisplayName}});
    QJsonArray headerItems;
    for (int item = 0; item < ViewerLayout::kHeaderItems; ++item) {
        if (config.HeaderItemEntry[item] != FormConfig::kNoEntry)
            headerItems.append(
                QJsonObject{{QStringLiteral("item"), item},
                            {QStringLiteral("entry"), config.HeaderItemEntry[item]},
                            {QStringLiteral("column"), config.HeaderItemColumn[item]}});
    }
    QJsonArray frames;
    for (int frame = 0; frame < ViewerLayout::kFrames; ++frame) {
        if (config.FrameEntry[frame] != FormConfig::kNoEntry)
            frames.append(QJsonObject{{QStringLiteral("frame"), frame},
                                      {QStringLiteral("entry"), config.FrameEntry[frame]}});
    }
    QJsonArray gridRows;
    for (int s = 0; s < ViewerLayout::kGridSections; ++s) {
        for (int r = 0; r < ViewerLayout::kGridRows; ++r) {
            if (config.GridEntry[s][r] != FormConfig::kNoEntry)
                gridRows.append(QJsonObject{{QStringLiteral("section"), s},
                                            {QStringLiteral("row"), r},
                                            {QStringLiteral("entry"), config.GridEntry[s][r]},
                                            {QStringLiteral("table"), config.GridTable[s][r]},
                                            {QStringLiteral("column"), config.GridColumn[s][r]}});
        }
    }
    return QJsonObject{
        {QStringLiteral("file"), path},
        {QStringLiteral("entries"), entries},
        {QStringLiteral("recordFieldList"), recordFields},
        {QStringLiteral("placements"), QJsonObject{{QStringLiteral("headerItems"), headerItems},
                                                   {QStringLiteral("frames"), frames},
                                                   {QStringLiteral("gridRows"), gridRows}}}};
}

} // namespace

// config [--json] FILE: loads a form configuration file and prints its
// entries, record-level fields and placements.
int RunConfig(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    QString unknown;
    if (!EndOfOptions(args, &unknown))
        return UsageError(QStringLiteral("config: unknown option ") + unknown);
    if (args.size() != 1)
        return UsageError(QStringLiteral("config needs exactly one configuration file"));

    Session& session = context.session;
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    const bool loaded = LoadConfigFile(session, path);
    if (!loaded) {
        PrintError(session.ui.StatusText());
        return kExitFailed;
    }
    FormConfig& config = session.Config;
    if (json)
        context.out << QJsonDocument(ConfigJson(config, path)).toJson(QJsonDocument::Indented);
    else
        PrintText(context.out, config);
    context.out.flush();
    if (config.ConfigEntries.size() > config.LastEntryIndex + 1)
        PrintError(QStringLiteral("Entry %1 has no \"||\" end line and is not used")
                       .arg(config.LastEntryIndex + 1));
    PrintError(session.ui.StatusText());
    return kExitOk;
}

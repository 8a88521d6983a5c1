#include "config/ConfigPlacement.h"

#include "platform/Numbers.h"
#include "session/RecordTables.h"
#include "platform/ResponseText.h"

namespace {

std::optional<qint16> Number16(const QString& text)
{
    return ToInt16(LeadingNumber(text));
}

QString OutOfRange(int entry, const QString& what, int number, int count)
{
    return QStringLiteral("entry %1: %2 %3 is beyond the viewer's %2s 0 to %4")
        .arg(entry)
        .arg(what)
        .arg(number)
        .arg(count - 1);
}

} // namespace

ViewerPlace ReadPlacement(const QString& placement)
{
    ViewerPlace place;
    const qsizetype dot = placement.indexOf(QLatin1Char('.'));
    if (placement.isEmpty() || dot < 0)
        return place;
    const QChar letter = placement[0];
    const auto after = Number16(placement.mid(dot + 1));
    if (letter == QLatin1Char('L') || letter == QLatin1Char('F')) {
        place.kind = letter == QLatin1Char('L') ? ViewerPlace::HeaderItem : ViewerPlace::Frame;
        place.fits = after.has_value();
        place.number = after.value_or(0);
    } else if (letter == QLatin1Char('G')) {
        const auto section = Number16(placement.mid(1, dot - 1));
        place.kind = ViewerPlace::GridRow;
        place.fits = section.has_value() && after.has_value();
        place.number = section.value_or(0);
        place.row = after.value_or(0);
    }
    return place;
}

std::optional<CellAddress> ReadDataLocation(const QString& location)
{
    const qsizetype dot = location.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return std::nullopt;
    const auto table = Number16(location.left(dot));
    const auto column = Number16(location.mid(dot + 1));
    if (!table || !column)
        return std::nullopt;
    return CellAddress{*table, *column};
}

bool ApplyPlacement(FormConfig& config, int entry, const RecordTables& tables, QString* error)
{
    const ConfigFields& fields = config.ParsedEntry;
    const ViewerPlace place = ReadPlacement(fields.Placement);
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (place.kind == ViewerPlace::NotShown)
        return true;
    if (!place.fits)
        return fail(QStringLiteral("entry %1: placement %2 holds a number out of range")
                        .arg(entry)
                        .arg(fields.Placement));

    if (place.kind == ViewerPlace::Frame) {
        if (place.number < 0 || place.number >= ViewerLayout::kFrames)
            return fail(
                OutOfRange(entry, QStringLiteral("frame"), place.number, ViewerLayout::kFrames));
        config.FrameEntry[place.number] = static_cast<qint16>(entry);
        return true;
    }

    // Header items and grid rows show a record cell, which must exist.
    const auto cell = ReadDataLocation(fields.DataLocation);
    if (!cell)
        return fail(QStringLiteral("entry %1: data location '%2' is not a table.column cell")
                        .arg(entry)
                        .arg(fields.DataLocation));
    const int table =
        place.kind == ViewerPlace::HeaderItem ? RecordTables::kHeaderTable : cell->table;
    if (!tables.IsColumnInRange(table, cell->column))
        return fail(QStringLiteral("entry %1: the record has no cell %2.%3")
                        .arg(entry)
                        .arg(table)
                        .arg(cell->column));

    if (place.kind == ViewerPlace::HeaderItem) {
        if (place.number < 0 || place.number >= ViewerLayout::kHeaderItems)
            return fail(OutOfRange(entry, QStringLiteral("header item"), place.number,
                                   ViewerLayout::kHeaderItems));
        config.HeaderItemEntry[place.number] = static_cast<qint16>(entry);
        config.HeaderItemColumn[place.number] = cell->column;
        if (!fields.DataField.isEmpty())
            config.SummaryCaptions.insert(fields.DataField, fields.EntryLabel);
        return true;
    }

    if (place.number < 0 || place.number >= ViewerLayout::kGridSections)
        return fail(OutOfRange(entry, QStringLiteral("grid section"), place.number,
                               ViewerLayout::kGridSections));
    if (place.row < 0 || place.row >= ViewerLayout::kGridRows)
        return fail(
            OutOfRange(entry, QStringLiteral("grid row"), place.row, ViewerLayout::kGridRows));
    config.GridEntry[place.number][place.row] = static_cast<qint16>(entry);
    config.GridTable[place.number][place.row] = cell->table;
    config.GridColumn[place.number][place.row] = cell->column;
    return true;
}

void ApplyRecordFieldRule(FormConfig& config, int entry)
{
    const ConfigFields& fields = config.ParsedEntry;
    if (fields.EntryKind != QLatin1String("F") && fields.EntryKind != QLatin1String("I"))
        return;
    const qsizetype dot = fields.DataLocation.indexOf(QLatin1Char('.'));
    const QString tablePart = dot < 0 ? fields.DataLocation : fields.DataLocation.left(dot);
    if (ToInt16(LeadingNumber(tablePart)) != std::optional<qint16>(RecordTables::kHeaderTable))
        return;
    RecordField field;
    field.EntryNumber = static_cast<qint16>(entry);
    field.QualifiedName = QStringLiteral("Forms.") + fields.DataField;
    field.DisplayName = TrimBlanks(fields.EntryLabel).toUpper() == QLatin1String("RECORD ID")
                            ? QStringLiteral("Record ID")
                            : QStringLiteral("Record ") + fields.ShortName;
    config.RecordFieldList.append(field);
}

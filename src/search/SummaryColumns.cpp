#include "search/SummaryColumns.h"

#include "platform/Settings.h"
#include "search/SummaryModel.h"

namespace SummaryColumns {

QList<QString> SourceFields()
{
    QList<QString> fields;
    for (int c = 0; c < SummaryModel::ColumnCount; ++c)
        fields.append(SummaryModel::SourceField(c));
    return fields;
}

QList<bool> InitialVisibility()
{
    return {true, true, true, true, false};
}

QString ColumnsText(const QList<bool>& visible)
{
    const QList<QString> fields = SourceFields();
    QString text;
    for (int c = 0; c < fields.size() && c < visible.size(); ++c) {
        if (visible[c])
            text += QLatin1Char(' ') + fields[c];
    }
    return text.trimmed();
}

QList<bool> VisibilityFor(const QString& columnsToShow)
{
    if (columnsToShow.trimmed().isEmpty())
        return {};
    QList<bool> visible;
    for (const QString& field : SourceFields())
        visible.append(columnsToShow.contains(field, Qt::CaseSensitive));
    return visible;
}

QList<bool> LoadVisibility(const ProgramFolders& folders, const QList<bool>& initial,
                           QString* error)
{
    QString defaults = ReadSetting(folders, Settings::DefaultColumnsToShow).trimmed();
    if (defaults.isEmpty())
        defaults = ColumnsText(initial);
    QString reason;
    if (!WriteSetting(folders, Settings::DefaultColumnsToShow, defaults, &reason) && error)
        *error = QStringLiteral("Error reading/writing Tallowmere.ini: ") + reason;
    QString columns = ReadSetting(folders, Settings::ColumnsToShow);
    if (columns.trimmed().isEmpty())
        columns = defaults;
    const QList<bool> visible = VisibilityFor(columns);
    return visible.isEmpty() ? initial : visible;
}

bool SaveVisibility(const ProgramFolders& folders, const QList<bool>& visible, QString* error)
{
    QString reason;
    if (WriteSetting(folders, Settings::ColumnsToShow, ColumnsText(visible), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Configuration could not be saved to Tallowmere.ini: ") + reason;
    return false;
}

} // namespace SummaryColumns

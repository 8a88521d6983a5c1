#include "output/OutputFieldList.h"

#include "database/FieldNamesList.h"
#include "session/OutputState.h"

#include <QHash>

QStringList FillOutputFieldList(OutputState& state, const QList<RecordLevelField>& recordFields,
                                const QString& fieldNamesList)
{
    // The user's choices for entries listed before survive the rebuild.
    QHash<QString, bool> chosen;
    for (int i = 0; i < state.OutputFieldList.size(); ++i) {
        const OutputField& field = state.OutputFieldList[i];
        chosen.insert((i < state.HeaderFieldCount ? QStringLiteral("H:") : QStringLiteral("F:")) +
                          field.Key,
                      field.PrintStat);
    }
    state.OutputFieldList.clear();
    for (const RecordLevelField& field : recordFields) {
        if (field.QualifiedName.left(6) != QStringLiteral("Forms."))
            continue;
        state.OutputFieldList.append(
            {field.DataLocation, field.Label, chosen.value("H:" + field.DataLocation, true)});
    }
    state.HeaderFieldCount = static_cast<int>(state.OutputFieldList.size());
    const QStringList names = SplitFieldNamesList(fieldNamesList);
    for (const QString& name : names)
        state.OutputFieldList.append({name, name, chosen.value("F:" + name, true)});
    return names;
}

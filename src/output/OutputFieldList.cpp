#include "output/OutputFieldList.h"

#include "database/FieldNamesList.h"
#include "output/OutputState.h"

QStringList FillOutputFieldList(OutputState& state, const QList<RecordLevelField>& recordFields,
                                const QString& fieldNamesList)
{
    state.OutputFieldList.clear();
    for (const RecordLevelField& field : recordFields) {
        if (field.QualifiedName.left(6) != QStringLiteral("Forms."))
            continue;
        state.OutputFieldList.append({field.DataLocation, field.Label, true});
    }
    state.HeaderFieldCount = static_cast<int>(state.OutputFieldList.size());
    const QStringList names = SplitFieldNamesList(fieldNamesList);
    for (const QString& name : names)
        state.OutputFieldList.append({name, name, true});
    return names;
}

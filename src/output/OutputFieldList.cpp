#include "output/OutputFieldList.h"

#include "output/OutputState.h"

QStringList SplitFieldNamesList(const QString& fieldNamesList)
{
    QStringList names;
    if (fieldNamesList.trimmed().isEmpty())
        return names;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = fieldNamesList.indexOf(QLatin1Char('\r'), start);
        if (cr < 0)
            break;
        // The name must be at least two characters; the CR and the LF after
        // it are dropped with it.
        if (cr - start + 1 >= 3)
            names.append(fieldNamesList.mid(start, cr - start));
        start = cr + 2;
        if (start >= fieldNamesList.size())
            break;
    }
    return names;
}

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

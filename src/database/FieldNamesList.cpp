#include "database/FieldNamesList.h"

QStringList SplitFieldNamesList(const QString& fieldNamesList)
{
    QStringList names;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = fieldNamesList.indexOf(QLatin1Char('\r'), start);
        if (cr < 0)
            break;
        // The CR and the LF after it go with the name before them.
        if (cr - start >= 2)
            names.append(fieldNamesList.mid(start, cr - start));
        start = cr + 2;
    }
    return names;
}

#include "session/ReportTemplates.h"

QString OutputTypeKeyword(int outputType)
{
    switch (outputType) {
    case 0:
        return QStringLiteral("Screen");
    case 1:
        return QStringLiteral("Print");
    case 2:
        return QStringLiteral("HTML");
    case 3:
        return QStringLiteral("TextFile");
    case 4:
        return QStringLiteral("TextClipboard");
    default:
        return {};
    }
}

QList<int> TemplateList::ForOutputType(int outputType) const
{
    QList<int> numbers;
    const QString keyword = OutputTypeKeyword(outputType);
    if (keyword.isEmpty())
        return numbers;
    for (int k = 0; k < Count(); ++k) {
        if (m_entries[k].OutputTypes.contains(keyword, Qt::CaseSensitive))
            numbers.append(k);
    }
    return numbers;
}

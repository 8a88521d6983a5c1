#include "cli/CliOutput.h"

#include "cli/CliContext.h"
#include "output/OutputRunner.h"
#include "output/TemplateList.h"

#include <QFileInfo>

QString CliTemplatePath(CliContext& context, const QString& name)
{
    if (QFileInfo::exists(name))
        return name;
    const QString found = context.session.Folders.FindFile(name);
    return found.isEmpty() ? name : found;
}

QString CliPrintTemplate(Session& session, const QString& name)
{
    ListTemplates(session);
    const TemplateList& list = session.Output.Templates;
    for (const int k : list.ForOutputType(static_cast<int>(OutputType::Printer))) {
        if (name.isEmpty() || list.FileName(k).compare(name, Qt::CaseInsensitive) == 0 ||
            QFileInfo(list.FileName(k)).completeBaseName().compare(name, Qt::CaseInsensitive) ==
                0 ||
            list.Name(k).compare(name, Qt::CaseInsensitive) == 0)
            return list.FileName(k);
    }
    return {};
}

QString OneLineEscaped(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return text;
}

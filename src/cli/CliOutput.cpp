#include "cli/CliOutput.h"

#include "cli/CliContext.h"

#include <QFileInfo>

QString CliTemplatePath(CliContext& context, const QString& name)
{
    if (QFileInfo::exists(name))
        return name;
    const QString found = context.session.Folders.FindFile(name);
    return found.isEmpty() ? name : found;
}

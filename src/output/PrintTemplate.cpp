#include "output/PrintTemplate.h"

#include "session/Session.h"

#include <QFileInfo>
#include "output/TemplateFile.h"
#include "output/TemplateSyntax.h"

bool LoadPrintTemplate(Session& session, const QString& fileName)
{
    // A bare name is looked up in the program folder; a path is taken as it is.
    const bool isPath = QFileInfo(fileName).isAbsolute() || fileName.contains(QLatin1Char('/'));
    QString path = isPath ? fileName : session.Folders.FindFile(fileName);
    if (path.isEmpty())
        path = session.Folders.ProgramFile(fileName);
    const TemplateBody body = ReadTemplateBody(path);
    if (!body.ok) {
        session.ui.MessageBox(QStringLiteral("Print error: ") + body.error,
                              MessageIcon::Exclamation);
        return false;
    }
    session.Output.TemplateLines = CutBlocks(body.text, BlockStyle::Lines);
    return true;
}

#include "output/PrintTemplate.h"

#include "app/Session.h"

#include <QFileInfo>
#include "output/TemplateFile.h"
#include "output/TemplateSyntax.h"

bool LoadPrintTemplate(Session& session, const QString& fileName)
{
    QString path = QFileInfo(fileName).isAbsolute() ? fileName : session.Folders.FindFile(fileName);
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

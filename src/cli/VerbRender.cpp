#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/CliOutput.h"
#include "cli/CliSearch.h"
#include "cli/Verbs.h"
#include "database/RecordReader.h"
#include "output/HtmlRenderer.h"
#include "output/TextRenderer.h"

#include <QBuffer>

// render DB ID TEMPLATE [--html]: one record through a template, as the
// text renderer (or the HTML renderer) lays it out.
int RunRender(CliContext& context, QStringList args)
{
    const bool html = TakeFlag(args, QStringLiteral("--html"));
    if (!EndOfOptions(args) || args.size() != 3)
        return UsageError(
            QStringLiteral("render needs a database file, a record number and a template"));
    bool ok = false;
    const qint64 id = args[1].toLongLong(&ok);
    if (!ok)
        return UsageError(QStringLiteral("render: not a record number: ") + args[1]);
    if (!OpenForSearch(context, args[0], true, DatabaseAccess::ReadOnly))
        return kExitFailed;
    Session& session = context.session;
    if (!session.Database.RecordCursor.Seek(id)) {
        session.ui.MessageBox(QStringLiteral("No record with FormID %1 in %2").arg(id).arg(args[0]),
                              MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (!ReadResumes(session))
        return kExitFailed;
    const QString path = CliTemplatePath(context, args[2]);
    if (html) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!RenderHtmlTemplate(session, path, buffer))
            return kExitFailed;
        context.out << QString::fromUtf8(buffer.data());
    } else {
        if (!RenderTextTemplate(session, path))
            return kExitFailed;
        context.out << session.Output.OutputText;
    }
    context.out.flush();
    return kExitOk;
}

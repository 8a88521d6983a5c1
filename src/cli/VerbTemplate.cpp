#include "cli/CliContext.h"
#include "cli/Verbs.h"
#include "output/TemplateFile.h"
#include "output/TemplateList.h"

// template list: the report templates the program offers.
// template convert FILE: stores a plain template in the program's form.
int RunTemplate(CliContext& context, QStringList args)
{
    const bool yes = TakeFlag(args, QStringLiteral("--yes"));
    context.ui.SetAssumeYes(yes);
    if (args.isEmpty())
        return UsageError(QStringLiteral("template needs 'list' or 'convert FILE'"));
    const QString action = args.takeFirst();
    if (action == QStringLiteral("list")) {
        if (!args.isEmpty())
            return UsageError(QStringLiteral("template list takes no arguments"));
        Session& session = context.session;
        ListTemplates(session);
        const TemplateList& list = session.Output.Templates;
        for (int k = 0; k < list.Count(); ++k)
            context.out << list.FileName(k) << '\t' << list.Name(k) << '\t' << list.OutputTypes(k)
                        << '\t' << list.Description(k) << '\n';
        context.out.flush();
        return kExitOk;
    }
    if (action == QStringLiteral("convert")) {
        if (!EndOfOptions(args) || args.size() != 1)
            return UsageError(QStringLiteral("template convert needs one template file"));
        return ConvertTemplate(context.ui, args.first()) ? kExitOk : kExitFailed;
    }
    return UsageError(QStringLiteral("template: unknown action ") + action);
}

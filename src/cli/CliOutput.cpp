#include "cli/CliOutput.h"

#include "cli/CliContext.h"
#include "config/ConfigReader.h"
#include "output/OutputFieldList.h"

#include <QFileInfo>

bool PrepareOutputFields(CliContext& context)
{
    Session& session = context.session;
    if (!LoadDefaultConfig(session))
        return false;
    QList<RecordLevelField> recordFields;
    for (const RecordField& field : std::as_const(session.Config.RecordFieldList)) {
        QString error;
        if (!ParseConfig(session.Config, field.EntryNumber, &error)) {
            session.ui.MessageBox(QStringLiteral("Error initializing Quick Find: ") + error,
                                  MessageIcon::Exclamation);
            return false;
        }
        recordFields.append({field.QualifiedName, session.Config.ParsedEntry.DataLocation,
                             field.DisplayName});
    }
    FillOutputFieldList(session.Output, recordFields, session.Database.CurrentFieldNames);
    return true;
}

QString CliTemplatePath(CliContext& context, const QString& name)
{
    if (QFileInfo::exists(name))
        return name;
    const QString found = context.session.Folders.FindFile(name);
    return found.isEmpty() ? name : found;
}

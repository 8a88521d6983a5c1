#include "cli/CliSearch.h"

#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "config/ConfigReader.h"
#include "search/QueryFields.h"
#include "search/QueryFile.h"
#include "search/SummarySearch.h"

bool OpenForSearch(CliContext& context, const QString& path, bool listRecords,
                   DatabaseAccess access)
{
    if (!LoadDefaultConfig(context.session) || !OpenCliDatabase(context, path, listRecords, access))
        return false;
    return FillQuickFindCombo(context.session);
}

bool CliQuickFind(CliContext& context, const QString& field, const QString& pattern)
{
    const QList<QuickFindEntry>& entries = context.session.Search.QuickFindEntries;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].text.compare(field, Qt::CaseInsensitive) == 0)
            return QuickFindSearch(context.session, i, pattern);
    }
    context.session.ui.MessageBox(QStringLiteral("Field not found: ") + field,
                                  MessageIcon::Exclamation);
    return false;
}

bool CliRunQueryFile(CliContext& context, const QString& path)
{
    Session& session = context.session;
    SearchState& st = session.Search;
    const bool loaded = ReadQueryFile(session.ui, path, st.QueryRows, st.QueryColumns,
                                      [&session](const QString& qualified) {
                                          return LookupRecordField(session.Config, qualified);
                                      });
    return loaded && RunQueryBuilder(session);
}

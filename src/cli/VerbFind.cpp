#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/RecordListing.h"
#include "cli/Verbs.h"
#include "config/ConfigReader.h"
#include "search/QueryFields.h"
#include "search/QueryFile.h"
#include "search/SummarySearch.h"

namespace {

// The database opened with the default configuration, so the record-level
// fields are known, and the Quick Find list filled.
bool OpenForSearch(CliContext& context, const QString& path)
{
    if (!LoadDefaultConfig(context.session) || !OpenCliDatabase(context, path))
        return false;
    return FillQuickFindCombo(context.session);
}

} // namespace

// find [--json] DB FIELD PATTERN: Quick Find. FIELD is an entry of the
// Quick Find list (a record-level display name such as "Record Name", or
// a field name), compared ignoring case.
int RunFind(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 3 || args.first().startsWith(QStringLiteral("--")))
        return UsageError(QStringLiteral("find needs a database file, a field and a pattern"));
    if (!OpenForSearch(context, args[0]))
        return kExitFailed;
    const QList<QuickFindEntry>& entries = context.session.Search.QuickFindEntries;
    int index = -1;
    for (int i = 0; i < entries.size() && index < 0; ++i) {
        if (entries[i].text.compare(args[1], Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (index < 0) {
        context.session.ui.MessageBox(QStringLiteral("Field not found"), MessageIcon::Exclamation);
        return kExitFailed;
    }
    if (!QuickFindSearch(context.session, index, args[2]))
        return kExitFailed;
    return PrintSummaryRecords(context, json) ? kExitOk : kExitFailed;
}

// query [--json] DB FILE.qry: loads the query file and runs it as the
// Query Builder's OK does.
int RunQuery(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (args.size() != 2 || args.first().startsWith(QStringLiteral("--")))
        return UsageError(QStringLiteral("query needs a database file and a query file"));
    if (!OpenForSearch(context, args[0]))
        return kExitFailed;
    Session& session = context.session;
    SearchState& st = session.Search;
    const bool loaded = ReadQueryFile(session.ui, args[1], st.QueryRows, st.QueryColumns,
                                      [&session](const QString& qualified) {
                                          return LookupRecordField(session.Config, qualified);
                                      });
    if (!loaded || !RunQueryBuilder(session))
        return kExitFailed;
    return PrintSummaryRecords(context, json) ? kExitOk : kExitFailed;
}

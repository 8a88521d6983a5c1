#include "cli/CliSelection.h"

#include "cli/CliContext.h"
#include "cli/CliSearch.h"
#include "session/RecordSelection.h"

bool CliSelection::TakeOptions(QStringList& args, QString* usage)
{
    if (const qsizetype at = OptionAt(args, QStringLiteral("--find")); at >= 0) {
        if (at + 2 >= args.size()) {
            *usage = QStringLiteral("--find takes FIELD PATTERN");
            return false;
        }
        m_find = args.mid(at + 1, 2);
        args.remove(at, 3);
    }
    QString ids;
    if (!TakeOption(args, QStringLiteral("--query"), &m_query, &m_hasQuery) ||
        !TakeOption(args, QStringLiteral("--ids"), &ids, &m_hasIds)) {
        *usage = QStringLiteral("an option lacks its value");
        return false;
    }
    if (m_hasIds) {
        const QStringList bounds = ids.split(QLatin1Char('-'));
        if (bounds.size() != 2) {
            *usage = QStringLiteral("--ids takes FROM-TO");
            return false;
        }
        m_from = bounds[0];
        m_to = bounds[1];
    }
    if (int(!m_find.isEmpty()) + int(m_hasQuery) + int(m_hasIds) > 1) {
        *usage = QStringLiteral("takes one of --ids, --find and --query");
        return false;
    }
    return true;
}

bool CliSelection::Prepare(CliContext& context, const QString& database, DatabaseAccess access)
{
    m_context = &context;
    if (!OpenForSearch(context, database, true, access))
        return false;
    if (!m_find.isEmpty() && !CliQuickFind(context, m_find[0], m_find[1]))
        return false;
    return !m_hasQuery || CliRunQueryFile(context, m_query);
}

void CliSelection::ShowSelectDialog(const QString&)
{
    Session& session = m_context->session;
    SelectRecordsController dialog;
    dialog.Activate(false, session.ui);
    if (!m_hasIds) {
        // The records of the summary: all of them, or all those found.
        dialog.ChooseOption(SelectRecordsController::kAll);
    } else {
        dialog.ChooseOption(SelectRecordsController::kIdRange);
        dialog.txtFrom = m_from;
        dialog.txtTo = m_to;
    }
    if (!dialog.Ok(session.ui, session.RegionalSettings, session.Selection))
        SelectRecordsController::Cancel(session.Selection);
}

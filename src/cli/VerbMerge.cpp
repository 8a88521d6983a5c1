#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "duplicates/RecordMerge.h"
#include "platform/ErrorText.h"

namespace {

std::optional<qint64> RecordNumber(const QString& text)
{
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    return ok && id > 0 ? std::optional<qint64>(id) : std::nullopt;
}

} // namespace

// merge DB ID ID... [--keep ID] [--yes]: merges the records into one, after
// the question (only --yes answers it Yes).
int RunMerge(CliContext& context, QStringList args)
{
    QString keepText;
    bool hasKeep = false;
    if (!TakeOption(args, QStringLiteral("--keep"), &keepText, &hasKeep))
        return UsageError(QStringLiteral("merge: --keep needs a record number"));
    context.ui.SetAssumeYes(TakeFlag(args, QStringLiteral("--yes")));
    if (!EndOfOptions(args) || args.size() < 3)
        return UsageError(QStringLiteral("merge needs a database file and two or more records"));
    std::optional<qint64> keep;
    if (hasKeep && !(keep = RecordNumber(keepText)))
        return UsageError(QStringLiteral("merge: '%1' is not a record number").arg(keepText));
    std::vector<qint64> ids;
    QStringList shown;
    for (const QString& arg : args.mid(1)) {
        const std::optional<qint64> id = RecordNumber(arg);
        if (!id)
            return UsageError(QStringLiteral("merge: '%1' is not a record number").arg(arg));
        ids.push_back(*id);
        shown.append(QString::number(*id));
    }
    if (!OpenCliDatabase(context, args.first(), false))
        return kExitFailed;
    DatabaseConnection& connection = *context.session.Database.CurrentDatabase;
    QString problem;
    try {
        problem = MergeProblem(connection, ids, keep);
    } catch (const std::exception& e) {
        problem = QStringLiteral("Error merging records: ") + EngineErrorText(&connection, e);
    }
    if (!problem.isEmpty()) {
        static_cast<Ui&>(context.ui).MessageBox(problem, MessageIcon::Exclamation);
        return kExitFailed;
    }
    const qint64 kept = keep.value_or(*std::min_element(ids.begin(), ids.end()));
    if (static_cast<Ui&>(context.ui)
            .MessageBox(QStringLiteral("Merge records %1 into record %2? The others are "
                                       "deleted.")
                            .arg(shown.join(QStringLiteral(", ")))
                            .arg(kept),
                        MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        context.out << "Merge cancelled\n";
        return kExitFailed;
    }
    const MergeOutcome outcome = MergeRecords(connection, context.session.Now, ids, keep);
    if (!outcome.merged) {
        static_cast<Ui&>(context.ui)
            .MessageBox(QStringLiteral("Error merging records: ") + outcome.error,
                        MessageIcon::Exclamation);
        return kExitFailed;
    }
    context.out << outcome.deleted + 1 << " record(s) merged into record " << outcome.kept << '\n';
    return kExitOk;
}

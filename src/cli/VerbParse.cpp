#include "cli/CliContext.h"
#include "cli/RecordJson.h"
#include "cli/Verbs.h"
#include "responses/ResponseScan.h"

#include <QFileInfo>

namespace {

// Prints how every item of a file was read, one line each: "FILE#N: ..."
// for a message, "FILE: ..." for a plain text or CSV file.
class Explainer : public ScanItems {
public:
    explicit Explainer(QTextStream& out) : m_out(out) {}
    bool Skip(const ScanItem&) override { return false; }
    bool Done(const ScanItem&, int, int) override { return true; }
    void Explained(const ScanItem& item, const QString& how) override
    {
        m_out << item.source;
        if (item.number > 0)
            m_out << "#" << item.number;
        m_out << ": " << how << "\n";
    }

private:
    QTextStream& m_out;
};

} // namespace

// parse [--json|--explain] FILE...: every response in each file (plain
// text or saved mail), as import would find them, printed without any
// database; or, explained, how each message was read.
int RunParse(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    const bool explain = TakeFlag(args, QStringLiteral("--explain"));
    QString unknown;
    if (!EndOfOptions(args, &unknown))
        return UsageError(QStringLiteral("parse: unknown option ") + unknown);
    if (json && explain)
        return UsageError(QStringLiteral("parse: --json and --explain cannot go together"));
    if (args.isEmpty())
        return UsageError(QStringLiteral("parse needs at least one response file"));

    Session& session = context.session;
    int status = kExitOk;
    bool first = true;
    if (json)
        context.out << "[";
    Explainer explainer(context.out);
    for (const QString& path : std::as_const(args)) {
        int number = 0;
        const ScanOutcome outcome = ScanResponseFile(
            session, path,
            [&] {
                if (explain)
                    return true;
                ++number;
                if (json) {
                    context.out << (first ? "\n  " : ",\n  ");
                    WriteRecordJson(context.out, session.Tables, session.RegionalSettings, true);
                } else {
                    if (!first)
                        context.out << "\n";
                    context.out << "Response " << number << " in "
                                << QFileInfo(path).absoluteFilePath() << "\n";
                    WriteRecordText(context.out, session.Tables, session.RegionalSettings, true);
                }
                first = false;
                return true;
            },
            QString(), explain ? &explainer : nullptr);
        if (!outcome.opened) {
            session.ui.MessageBox(QStringLiteral("Error reading Record from ") +
                                      QFileInfo(path).absoluteFilePath() + QStringLiteral(": ") +
                                      outcome.error,
                                  MessageIcon::Exclamation);
            status = kExitFailed;
        }
        if (outcome.refused || outcome.dropped > 0)
            status = kExitFailed;
    }
    if (json)
        context.out << (first ? "]\n" : "\n]\n");
    context.out.flush();
    return status;
}

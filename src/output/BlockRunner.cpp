#include "output/BlockRunner.h"

#include "session/Session.h"
#include "output/MarkerEvaluator.h"
#include "output/TemplateSyntax.h"

bool ScanContent(const QString& content, const std::function<void(QStringView literal)>& literal,
                 const std::function<void(const QString& markerText)>& marker)
{
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = content.indexOf(QLatin1Char('|'), pos);
        const QStringView text =
            QStringView(content).mid(pos, (open < 0 ? content.size() : open) - pos);
        if (!text.isEmpty())
            literal(text);
        if (open < 0)
            return true;
        const qsizetype close = content.indexOf(QLatin1Char('|'), open + 1);
        if (close < 0)
            return false;
        marker(content.mid(open + 1, close - open - 1));
        pos = close + 1;
    }
}

BlockOutcome RunBlock(Session& session, const QString& block, const LineStep& line)
{
    const QStringList lines = BlockLines(block);
    for (;;) {
        int lastA = 0;
        for (const QString& text : lines) {
            const BlockOutcome outcome = line(text, &lastA);
            if (outcome != BlockOutcome::Rendered)
                return outcome;
        }
        if (!NextRepetition(session.Tables, lastA)) {
            session.Output.ItemNumber = 1;
            return BlockOutcome::Rendered;
        }
        session.Output.ItemNumber = static_cast<qint16>(session.Tables.CurrentRow[lastA] + 1);
    }
}

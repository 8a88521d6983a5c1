#include "output/HtmlRenderer.h"

#include "session/Session.h"
#include "output/MarkerEvaluator.h"
#include "session/OutputState.h"
#include "output/TemplateFile.h"
#include "output/TemplateSyntax.h"

#include <QIODevice>

namespace {

enum class BlockOutcome { Rendered, Stopped, WriteFailed };

BlockOutcome RenderBlock(Session& session, const QString& block, QIODevice& out)
{
    Ui& ui = session.ui;
    const LineSpec split = SplitLineSpec(block);
    if (!split.ok) {
        ui.MessageBox(QStringLiteral("Unmatched { in template"), MessageIcon::Exclamation);
        ui.MessageBox(QStringLiteral("Error processing HTML line: ") +
                          QStringLiteral("the block ends with } but has no {"),
                      MessageIcon::Exclamation);
        return BlockOutcome::Stopped;
    }
    for (;;) {
        const MarkerValue lineSpec = EvaluateMarker(session, split.lineSpec, ValueStyle::Html);
        int lastA = lineSpec.a;
        QString text;
        qsizetype pos = 0;
        const QString& content = split.content;
        for (;;) {
            const qsizetype open = content.indexOf(QLatin1Char('|'), pos);
            if (open < 0) {
                text += QStringView(content).mid(pos);
                break;
            }
            const qsizetype close = content.indexOf(QLatin1Char('|'), open + 1);
            if (close < 0) {
                ui.MessageBox(QStringLiteral("Unmatched | in report template"),
                              MessageIcon::Exclamation);
                return BlockOutcome::Stopped;
            }
            text += QStringView(content).mid(pos, open - pos);
            const MarkerValue value =
                EvaluateMarker(session, content.mid(open + 1, close - open - 1), ValueStyle::Html);
            text += value.text;
            lastA = value.a;
            pos = close + 1;
        }
        if (LineIsShown(lineSpec, session.Tables)) {
            const QByteArray bytes = (text + QStringLiteral("\r\n")).toUtf8();
            if (out.write(bytes) != bytes.size()) {
                ui.MessageBox(QStringLiteral("Error processing HTML line: ") + out.errorString(),
                              MessageIcon::Exclamation);
                return BlockOutcome::WriteFailed;
            }
        }
        // Rows are numbered in HTML as in text, so "n" counts here too.
        if (!NextRepetition(session.Tables, lastA)) {
            session.Output.ItemNumber = 1;
            return BlockOutcome::Rendered;
        }
        session.Output.ItemNumber = static_cast<qint16>(session.Tables.CurrentRow[lastA] + 1);
    }
}

} // namespace

bool RenderHtmlBody(Session& session, const QString& body, QIODevice& out)
{
    session.Output.ItemNumber = 1;
    RowCursorGuard cursors(session.Tables);
    const QStringList blocks = CutBlocks(session.Output.HtmlBlocks, body, BlockStyle::Html);
    for (const QString& block : blocks) {
        const BlockOutcome outcome = RenderBlock(session, block, out);
        if (outcome == BlockOutcome::WriteFailed)
            return false;
        if (outcome == BlockOutcome::Stopped)
            break;
    }
    session.Output.ItemNumber = 1;
    return true;
}

bool RenderHtmlTemplate(Session& session, const QString& path, QIODevice& out)
{
    const TemplateBody body = ReadTemplateBody(path);
    if (!body.ok) {
        session.ui.MessageBox(QStringLiteral("Print error: ") + body.error,
                              MessageIcon::Exclamation);
        return false;
    }
    return RenderHtmlBody(session, body.text, out);
}

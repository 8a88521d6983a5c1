#include "output/TextRenderer.h"

#include "session/Session.h"
#include "output/BlockRunner.h"
#include "output/MarkerEvaluator.h"
#include "session/OutputState.h"
#include "output/TemplateFile.h"
#include "output/TemplateSyntax.h"
#include "output/Wrapping.h"
#include "platform/Numbers.h"

namespace {

constexpr int kLineWidth = 80;

struct PassResult {
    bool ok = true;
    int width = 0;
    bool moreLines = false;
    bool lineEmpty = true;
    bool lastMarkerNoFill = false;
    int lastA = 0;
    bool anyMarker = false;
};

void Blanks(QString* out, qsizetype count)
{
    if (out && count > 0)
        out->append(QString(count, QLatin1Char(' ')));
}

// One pass over a line's content for output line k; writes to out unless it
// is null (measuring).
PassResult RunPass(Session& session, const QString& content, int k, QString* out)
{
    PassResult pass;
    const bool quiet = out == nullptr;
    int column = 0;
    auto literal = [&](QStringView text) {
        if (out)
            out->append(text);
        column += static_cast<int>(text.size());
        pass.lineEmpty = false;
    };
    auto marker = [&](const QString& markerText) {
        const MarkerValue value = EvaluateMarker(session, markerText, ValueStyle::Plain, quiet);
        int width = static_cast<int>(markerText.size() + 2);
        if (value.c & MarkerFlag::ToRightEdge)
            width = std::max(kLineWidth - column, 1);
        const WrappedLine piece =
            WrapLine(session.Output.TextWrap, value.text, value.a, value.b, width, k);
        if (piece.moreLines)
            pass.moreLines = true;
        const int length = static_cast<int>(piece.text.size());
        const int free = std::max(0, width - length);
        if (value.c & MarkerFlag::NoFill) {
            if (out)
                out->append(piece.text);
            column += length;
        } else {
            if (value.c & MarkerFlag::RightAlign) {
                Blanks(out, free);
                if (out)
                    out->append(piece.text);
            } else if (value.c & MarkerFlag::Centre) {
                const int left = static_cast<int>(RoundHalfEven(free / 2.0));
                Blanks(out, left);
                if (out)
                    out->append(piece.text);
                Blanks(out, free - left);
            } else {
                if (out)
                    out->append(piece.text);
                Blanks(out, free);
            }
            column += width;
        }
        if (!piece.text.isEmpty())
            pass.lineEmpty = false;
        pass.lastMarkerNoFill = (value.c & MarkerFlag::NoFill) != 0;
        pass.lastA = value.a;
        pass.anyMarker = true;
    };
    pass.ok = ScanContent(content, literal, marker);
    pass.width = column;
    return pass;
}

BlockOutcome RenderLine(Session& session, const QString& line, int* lastA)
{
    Ui& ui = session.ui;
    QString& out = session.Output.OutputText;
    const LineSpec split = SplitLineSpec(line);
    if (!split.ok) {
        ui.MessageBox(QStringLiteral("Unmatched { in template"), MessageIcon::Exclamation);
        ui.MessageBox(QStringLiteral("Error processing text line: "), MessageIcon::Exclamation);
        return BlockOutcome::Failed;
    }
    const MarkerValue lineSpec = EvaluateMarker(session, split.lineSpec);
    *lastA = lineSpec.a;
    auto unmatchedBar = [&] {
        ui.MessageBox(QStringLiteral("Unmatched | in report template"), MessageIcon::Exclamation);
        return BlockOutcome::Failed;
    };
    if (!LineIsShown(lineSpec, session.Tables)) {
        const PassResult measure = RunPass(session, split.content, 1, nullptr);
        if (!measure.ok)
            return unmatchedBar();
        if (measure.anyMarker)
            *lastA = measure.lastA;
        return BlockOutcome::Rendered;
    }
    const bool aligned = lineSpec.c & (MarkerFlag::RightAlign | MarkerFlag::Centre);
    for (int k = 1;; ++k) {
        const qsizetype lineStart = out.size();
        if (aligned) {
            const PassResult measure = RunPass(session, split.content, k, nullptr);
            if (!measure.ok)
                return unmatchedBar();
            if (measure.width > 0) {
                const int room = kLineWidth - measure.width;
                const int lead = (lineSpec.c & MarkerFlag::RightAlign)
                                     ? room
                                     : static_cast<int>(RoundHalfEven(room / 2.0));
                Blanks(&out, lead);
            }
        }
        const PassResult pass = RunPass(session, split.content, k, &out);
        if (!pass.ok) {
            out.truncate(lineStart);
            return unmatchedBar();
        }
        if (pass.anyMarker)
            *lastA = pass.lastA;
        if (pass.lastMarkerNoFill && pass.lineEmpty && !pass.moreLines) {
            out.truncate(lineStart);
        } else {
            out += QStringLiteral("\r\n");
        }
        if (!pass.moreLines)
            break;
    }
    return BlockOutcome::Rendered;
}

} // namespace

bool RenderTextBody(Session& session, const QString& body)
{
    session.Output.OutputText.clear();
    session.Output.ItemNumber = 1;
    RowCursorGuard cursors(session.Tables);
    const QStringList blocks = CutBlocks(session.Output.TextBlocks, body, BlockStyle::Lines);
    for (const QString& block : blocks) {
        if (RunBlock(session, block, [&session](const QString& line, int* lastA) {
                return RenderLine(session, line, lastA);
            }) == BlockOutcome::Failed)
            break;
    }
    session.Output.ItemNumber = 1;
    return true;
}

bool RenderTextTemplate(Session& session, const QString& path)
{
    session.Output.OutputText.clear();
    const TemplateBody body = ReadTemplateBody(path);
    if (!body.ok) {
        session.ui.MessageBox(QStringLiteral("Print error: ") + body.error,
                              MessageIcon::Exclamation);
        return false;
    }
    return RenderTextBody(session, body.text);
}

bool RenderRecordView(Session& session)
{
    return RenderTextTemplate(session, session.Folders.FindFile(QStringLiteral("Default_Dat.rpt")));
}

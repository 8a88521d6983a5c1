#include "render/PageRenderer.h"

#include "session/Session.h"
#include "output/BlockRunner.h"
#include "output/MarkerEvaluator.h"
#include "render/PageCanvas.h"
#include "output/TemplateSyntax.h"
#include "output/Wrapping.h"
#include "platform/ErrorText.h"

#include <QFontInfo>
#include <QPicture>
#include <QFontMetricsF>
#include <algorithm>
#include <map>
#include <exception>
#include <stdexcept>

namespace {

const QString kFixedFont = QStringLiteral("Courier New");
const QString kSymbolFont = QStringLiteral("Symbol");
const QChar kBullet(0x00B7);
// What the bullet piece looks like in the symbol font.
const QString kBulletGlyph = QString(QChar(0x2022));

int FontSize(int flags, PageGeometry::Surface surface, double zoom)
{
    int size = surface == PageGeometry::Surface::Paper ? 9 : 8;
    if (flags & MarkerFlag::Size10)
        size = 10;
    else if (flags & MarkerFlag::Size12)
        size = 12;
    return std::max(1, qRound(size * zoom));
}

// Fonts are sized in drawing units, which are points, so measuring needs no device.
QFont MakeFont(const QString& family, int flags, int pixelSize)
{
    QFont font(family);
    font.setStyleHint(family == kFixedFont ? QFont::TypeWriter : QFont::AnyStyle);
    font.setPixelSize(pixelSize);
    font.setBold(flags & MarkerFlag::Bold);
    font.setItalic(flags & MarkerFlag::Italic);
    font.setUnderline(flags & MarkerFlag::Underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

struct LinePass {
    bool ok = true;
    double width = 0; // literal text and pieces, summed
    double height = 0;
    bool moreLines = false;
    bool lineEmpty = true;
    bool lastMarkerNoFill = false;
    int lastA = 0;
    bool anyMarker = false;
};

class Renderer {
public:
    // silent: the messages of faulty lines have been shown by an earlier pass.
    Renderer(Session& session, PageCanvas& canvas, double zoom, qint16 requested, bool silent)
        : m_session(session), m_canvas(canvas), m_painter(canvas.Painter()), m_zoom(zoom),
          m_requested(requested), m_width(canvas.Geometry().width), m_silent(silent)
    {}

    BlockOutcome Block(const QString& block)
    {
        return RunBlock(m_session, block,
                        [this](const QString& line, int* lastA) { return Line(line, lastA); });
    }

private:
    // Fonts and their metrics, made once per style: a page has few styles
    // and many lines.
    struct Styled {
        QFont font;
        QFontMetricsF metrics;
        // Every printable ASCII character's advance in a fixed-pitch font,
        // else 0. Shaping each piece to measure it is most of a page's
        // cost, and a typewriter font's ASCII text needs none.
        double fixedAdvance = 0;

        double Width(QStringView text) const
        {
            if (fixedAdvance > 0 && std::all_of(text.begin(), text.end(), [](QChar c) {
                    return c.unicode() >= 0x20 && c.unicode() < 0x7F;
                }))
                return fixedAdvance * double(text.size());
            return metrics.horizontalAdvance(text.toString());
        }
    };
    static double FixedAdvance(const QFont& font, const QFontMetricsF& metrics)
    {
        if (!QFontInfo(font).fixedPitch())
            return 0;
        const double advance = metrics.horizontalAdvance(QLatin1Char('M'));
        // A font that claims a fixed pitch but whose narrow or spaced pairs
        // differ (kerning, a proportional fallback) is measured as shaped.
        for (const char* probe : {"i", " ", "iW", "AV", "~_"})
            if (metrics.horizontalAdvance(QString::fromLatin1(probe)) !=
                advance * double(qstrlen(probe)))
                return 0;
        return advance;
    }
    const Styled& Style(bool symbol, int flags)
    {
        constexpr int kStyleBits = MarkerFlag::Bold | MarkerFlag::Italic | MarkerFlag::Underline |
                                   MarkerFlag::Size10 | MarkerFlag::Size12;
        const int key = (flags & kStyleBits) | (symbol ? 1 << 20 : 0);
        auto found = m_styles.find(key);
        if (found == m_styles.end()) {
            const QFont font = MakeFont(symbol ? kSymbolFont : kFixedFont, flags,
                                        FontSize(flags, m_canvas.Surface(), m_zoom));
            const QFontMetricsF metrics(font);
            found = m_styles.emplace(key, Styled{font, metrics, FixedAdvance(font, metrics)}).first;
        }
        return found->second;
    }

    // Breaking the page; Stopped once the requested page is on the surface.
    BlockOutcome BreakPage()
    {
        qint16& page = m_session.Output.PageNumber;
        if (page == m_requested) {
            page = static_cast<qint16>(-page);
            return BlockOutcome::Stopped;
        }
        if (!m_canvas.NewPage())
            throw std::runtime_error("The page could not be started");
        m_canvas.Position = QPointF(0, 0);
        if (m_canvas.Surface() == PageGeometry::Surface::Paper)
            StartPaperPage(m_canvas);
        ++page;
        return BlockOutcome::Rendered;
    }

    // One pass over the content for output line k, drawing when draw is set.
    LinePass Pass(const QString& content, int lineFlags, int k, double startX, bool draw)
    {
        const Styled& lineStyle = Style(false, lineFlags);
        LinePass pass;
        const bool quiet = !draw || m_silent;
        const double y = m_canvas.Position.y();
        double x = startX;
        const QFontMetricsF& lineMetrics = lineStyle.metrics;
        pass.height = lineMetrics.lineSpacing();
        // The page view clears itself at every break, so pages before the
        // one asked for are laid out but not painted.
        const bool paint = draw && !(m_canvas.Surface() == PageGeometry::Surface::PageView &&
                                     m_requested > 0 && m_session.Output.PageNumber < m_requested);
        auto drawAt = [&](double at, const Styled& style, const QString& text) {
            if (!paint || text.isEmpty())
                return;
            m_painter.setFont(style.font);
            m_painter.drawText(QPointF(at, y + style.metrics.ascent()), text);
        };
        auto literal = [&](QStringView text) {
            const QString piece = text.toString();
            const double w = lineStyle.Width(piece);
            drawAt(x, lineStyle, piece);
            x += w;
            pass.width += w;
            pass.lineEmpty = false;
        };
        auto marker = [&](const QString& markerText) {
            double columnWidth =
                lineStyle.Width(QString(QLatin1Char('|') + markerText + QLatin1Char('|')));
            const MarkerValue value =
                EvaluateMarker(m_session, markerText, ValueStyle::Plain, quiet);
            if (value.c & MarkerFlag::ToRightEdge)
                columnWidth = value.d < 1 ? m_width - x : m_width * (1 - value.d / 100.0);
            columnWidth = std::max(columnWidth, 1.0);
            const Styled& markerStyle = Style(false, value.c);
            const WrappedLine wrapped = WrapLine(
                m_session.Output.PageWrap, value.text, value.a, value.b, columnWidth,
                [&markerStyle](QStringView text) { return markerStyle.Width(text); }, k);
            if (wrapped.moreLines)
                pass.moreLines = true;
            const bool bullet = wrapped.text.size() == 1 && wrapped.text[0] == kBullet;
            const Styled& pieceStyle = Style(bullet, value.c);
            const QFontMetricsF& pieceMetrics = pieceStyle.metrics;
            const QString shown = bullet ? kBulletGlyph : wrapped.text;
            const double pieceWidth = pieceStyle.Width(shown);
            pass.height = std::max(pass.height, pieceMetrics.lineSpacing());
            if (value.d >= 1)
                x = m_width * value.d / 100.0;
            const double columnStart = x;
            if (value.c & MarkerFlag::NoFill) {
                drawAt(x, pieceStyle, shown);
                x += pieceWidth;
            } else {
                double at = x;
                if (value.c & MarkerFlag::RightAlign)
                    at += columnWidth - pieceWidth;
                else if (value.c & MarkerFlag::Centre)
                    at += (columnWidth - pieceWidth) / 2;
                drawAt(at, pieceStyle, shown);
                x = columnStart + columnWidth;
            }
            pass.width += pieceWidth;
            if (!wrapped.text.isEmpty())
                pass.lineEmpty = false;
            pass.lastMarkerNoFill = (value.c & MarkerFlag::NoFill) != 0;
            pass.lastA = value.a;
            pass.anyMarker = true;
        };
        pass.ok = ScanContent(content, literal, marker);
        return pass;
    }

    BlockOutcome UnmatchedBar()
    {
        if (!m_silent)
            m_session.ui.MessageBox(QStringLiteral("Unmatched | in report template"),
                                    MessageIcon::Exclamation);
        return BlockOutcome::Failed;
    }

    BlockOutcome Line(const QString& line, int* lastA)
    {
        Ui& ui = m_session.ui;
        const LineSpec split = SplitLineSpec(line);
        if (!split.ok) {
            if (m_silent)
                return BlockOutcome::Failed;
            ui.MessageBox(QStringLiteral("Unmatched { in template"), MessageIcon::Exclamation);
            ui.MessageBox(QStringLiteral("Error processing print line: ") +
                              QStringLiteral("a line specification ends with } but has no {"),
                          MessageIcon::Exclamation);
            return BlockOutcome::Failed;
        }
        const MarkerValue lineSpec =
            EvaluateMarker(m_session, split.lineSpec, ValueStyle::Plain, m_silent);
        *lastA = lineSpec.a;
        if (!LineIsShown(lineSpec, m_session.Tables)) {
            const LinePass measure = Pass(split.content, lineSpec.c, 1, 0, false);
            if (!measure.ok)
                return UnmatchedBar();
            if (measure.anyMarker)
                *lastA = measure.lastA;
            return BlockOutcome::Rendered;
        }
        if (lineSpec.c & MarkerFlag::NoFill) {
            const BlockOutcome broken = BreakPage();
            if (broken != BlockOutcome::Rendered)
                return broken;
        }
        const bool aligned = lineSpec.c & (MarkerFlag::RightAlign | MarkerFlag::Centre);
        for (int k = 1;; ++k) {
            if (m_canvas.Position.y() > m_canvas.Geometry().breakAt) {
                const BlockOutcome broken = BreakPage();
                if (broken != BlockOutcome::Rendered)
                    return broken;
            }
            double startX = 0;
            if (aligned) {
                const LinePass measure = Pass(split.content, lineSpec.c, k, 0, false);
                if (!measure.ok)
                    return UnmatchedBar();
                if (measure.width > 0) {
                    startX = (lineSpec.c & MarkerFlag::RightAlign) ? m_width - measure.width
                                                                   : (m_width - measure.width) / 2;
                }
            }
            const LinePass pass = Pass(split.content, lineSpec.c, k, startX, true);
            if (!pass.ok)
                return UnmatchedBar();
            if (pass.anyMarker)
                *lastA = pass.lastA;
            if (!(pass.lastMarkerNoFill && pass.lineEmpty && !pass.moreLines))
                m_canvas.Position = QPointF(0, m_canvas.Position.y() + pass.height);
            if (!pass.moreLines)
                break;
        }
        return BlockOutcome::Rendered;
    }

    Session& m_session;
    PageCanvas& m_canvas;
    QPainter& m_painter;
    double m_zoom;
    qint16 m_requested;
    double m_width;
    bool m_silent;
    std::map<int, Styled> m_styles;
};

} // namespace

void StartPaperPage(PageCanvas& canvas)
{
    const QFont font = MakeFont(kFixedFont, 0, FontSize(0, canvas.Surface(), 1.0));
    canvas.Position = QPointF(0, canvas.Position.y() + QFontMetricsF(font).lineSpacing());
}

bool RenderPrintTemplate(Session& session, PageCanvas& canvas, double zoom, qint16& requestedPage,
                         bool silent)
{
    zoom = 1.0; // the program always draws at full size
    RowCursorGuard cursors(session.Tables);
    OutputState& state = session.Output;
    state.PageNumber = 1;
    state.ItemNumber = 1;
    try {
        if (!canvas.IsActive())
            throw std::runtime_error("The page could not be drawn on");
        const bool view = canvas.Surface() == PageGeometry::Surface::PageView;
        const auto pass = [&](qint16 requested, bool silent) {
            if (view)
                canvas.Position = QPointF(0, 0);
            state.PageNumber = 1;
            RowCursorGuard fromTheTop(session.Tables); // repeated blocks start over
            Renderer renderer(session, canvas, zoom, requested, silent);
            for (const QString& block : std::as_const(state.TemplateLines)) {
                const BlockOutcome outcome = renderer.Block(block);
                if (outcome == BlockOutcome::Failed)
                    return;
                if (outcome == BlockOutcome::Stopped || state.PageNumber < 0) {
                    state.PageNumber = static_cast<qint16>(std::abs(state.PageNumber));
                    return;
                }
            }
        };
        pass(requestedPage, silent);
        // A page beyond the last was not painted: the last one is shown instead.
        if (view && requestedPage > 0 && state.PageNumber < requestedPage) {
            if (!canvas.NewPage())
                throw std::runtime_error("The page could not be started");
            pass(state.PageNumber, true);
        }
    } catch (const std::exception& e) {
        state.ItemNumber = 1;
        if (silent)
            return false;
        session.ui.MessageBox(QStringLiteral("Print error: ") + ErrorText(e),
                              MessageIcon::Exclamation);
        return false;
    }
    state.ItemNumber = 1;
    requestedPage = state.PageNumber;
    return true;
}

namespace {

// Whether the record drawn from this position stays on its page. A drawing
// that fails here fails again when drawn for real, and says why then.
bool StaysOnThePage(Session& session, const PageCanvas& paper, QPointF from)
{
    QPicture scratch;
    PictureCanvas measure(scratch, paper.SizeInPoints(), paper.Surface());
    measure.Position = from;
    qint16 page = -1;
    return !RenderPrintTemplate(session, measure, 1.0, page, true) || page == 1;
}

} // namespace

bool RenderPaperRecord(Session& session, PageCanvas& canvas, bool keepWhole)
{
    if (keepWhole && canvas.Surface() == PageGeometry::Surface::Paper) {
        const QPointF here = canvas.Position;
        canvas.Position = QPointF(0, 0);
        StartPaperPage(canvas);
        const QPointF top = canvas.Position;
        canvas.Position = here;
        if (here.y() > top.y() && !StaysOnThePage(session, canvas, here) &&
            StaysOnThePage(session, canvas, top)) {
            if (!canvas.NewPage()) {
                session.ui.MessageBox(QStringLiteral("Print error: The page could not be started"),
                                      MessageIcon::Exclamation);
                return false;
            }
            canvas.Position = top;
        }
    }
    qint16 page = -1;
    return RenderPrintTemplate(session, canvas, 1.0, page);
}

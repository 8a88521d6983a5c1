#include "render/PagePrinter.h"

#include "session/Session.h"
#include "render/PageCanvas.h"
#include "render/PageRenderer.h"
#include "output/PrintTemplate.h"

#include <QPagedPaintDevice>

PagePrinter::PagePrinter(Session& session, QPagedPaintDevice& device)
    : m_session(session), m_device(device)
{}

PagePrinter::~PagePrinter() = default;

bool PagePrinter::Begin(const QString& headingTemplatePath, const QString& recordTemplatePath)
{
    // Pages are measured from the paper's edge.
    m_device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    m_canvas = std::make_unique<PaperCanvas>(m_device);
    if (!m_canvas->IsActive()) {
        m_error = QStringLiteral("The printer could not be started");
        m_canvas.reset();
        return false;
    }
    StartPaperPage(*m_canvas);
    // A heading that cannot be read has said so; the records still print.
    if (LoadPrintTemplate(m_session, headingTemplatePath)) {
        qint16 page = -1;
        if (!RenderPrintTemplate(m_session, *m_canvas, 1.0, page))
            return false;
    }
    // Without a chosen template the records print as the text outputs show them.
    const QString record =
        recordTemplatePath.isEmpty() ? QStringLiteral("Default_dat.rpt") : recordTemplatePath;
    return LoadPrintTemplate(m_session, record);
}

bool PagePrinter::Record(bool newPage, bool keepWhole)
{
    if (!m_canvas)
        return false;
    if (newPage) {
        if (!m_canvas->NewPage()) {
            m_error = QStringLiteral("A new page could not be started");
            return false;
        }
        m_canvas->Position = QPointF(0, 0);
        StartPaperPage(*m_canvas);
    }
    return RenderPaperRecord(m_session, *m_canvas, keepWhole);
}

bool PagePrinter::End()
{
    if (!m_canvas)
        return true;
    const bool ok = m_canvas->Finish();
    m_canvas.reset();
    if (!ok)
        m_error = QStringLiteral("The document could not be finished");
    return ok;
}

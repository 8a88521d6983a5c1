#include "output/PageCanvas.h"

#include <QPagedPaintDevice>
#include <QPicture>

PageCanvas::PageCanvas(QPaintDevice& device, PageGeometry::Surface surface, QSizeF sizeInPoints,
                       double scale)
    : m_device(&device), m_surface(surface),
      m_geometry(PageGeometry::For(surface, sizeInPoints.width(), sizeInPoints.height())),
      m_scale(scale)
{
    BeginPainting();
}

PageCanvas::~PageCanvas()
{
    EndPainting();
}

void PageCanvas::BeginPainting()
{
    if (!m_painter.begin(m_device))
        return;
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.scale(m_scale, m_scale);
    m_painter.translate(m_geometry.origin);
    m_painter.setPen(Qt::black);
}

void PageCanvas::EndPainting()
{
    if (m_painter.isActive())
        m_painter.end();
}

namespace {

QSizeF PointsOf(const QPaintDevice& device)
{
    return {device.width() * 72.0 / device.logicalDpiX(),
            device.height() * 72.0 / device.logicalDpiY()};
}

} // namespace

PaperCanvas::PaperCanvas(QPagedPaintDevice& device)
    : PageCanvas(device, PageGeometry::Surface::Paper, PointsOf(device),
                 PageGeometry::Scale(device)),
      m_paper(device)
{}

bool PaperCanvas::NewPage()
{
    return m_paper.newPage();
}

bool PaperCanvas::Finish()
{
    const bool wasActive = IsActive();
    EndPainting();
    return wasActive;
}

PictureCanvas::PictureCanvas(QPicture& picture, QSizeF sizeInPoints)
    : PageCanvas(picture, PageGeometry::Surface::PageView, sizeInPoints,
                 PageGeometry::Scale(picture)),
      m_picture(picture)
{}

PictureCanvas::~PictureCanvas() = default;

bool PictureCanvas::NewPage()
{
    EndPainting();
    m_picture = QPicture();
    BeginPainting();
    return IsActive();
}

void PictureCanvas::Finish()
{
    EndPainting();
}

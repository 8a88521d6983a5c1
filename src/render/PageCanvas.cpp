#include "render/PageCanvas.h"

#include <QPagedPaintDevice>
#include <QFontMetricsF>
#include <QPicture>

PageCanvas::PageCanvas(QPaintDevice& device, PageGeometry::Surface surface, QSizeF sizeInPoints,
                       double scale)
    : m_device(&device), m_surface(surface), m_size(sizeInPoints),
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
    : PaperCanvas(device, [&device] { return device.newPage(); })
{}

// A picture played on a device is scaled from the picture's resolution to
// the device's, so pages are drawn at the picture's resolution.
PaperCanvas::PaperCanvas(QPaintDevice& device, std::function<bool()> newSheet)
    : PageCanvas(static_cast<PaperPages&>(*this).current, PageGeometry::Surface::Paper,
                 PointsOf(device), PageGeometry::Scale(static_cast<PaperPages&>(*this).current)),
      m_paper(device), m_newSheet(std::move(newSheet))
{
    // The device is started at once so a printer that cannot start says so
    // before any record is drawn.
    if (!m_sheet.begin(&m_paper))
        EndPainting();
}

PaperCanvas::~PaperCanvas() = default;

bool PaperCanvas::NewPage()
{
    EndPainting();
    done.append(current);
    current = QPicture();
    BeginPainting();
    return IsActive();
}

bool PaperCanvas::Finish()
{
    if (!IsActive() || !m_sheet.isActive())
        return false;
    EndPainting();
    done.append(current);
    current = QPicture();
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(9);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    const QSizeF paper = SizeInPoints();
    const double scale = PageGeometry::Scale(m_paper);
    const auto pages = static_cast<int>(done.size());
    bool ok = true;
    for (int i = 0; i < pages && ok; ++i) {
        if (i > 0 && !m_newSheet()) {
            ok = false;
            break;
        }
        m_sheet.drawPicture(0, 0, done[i]);
        m_sheet.save();
        m_sheet.scale(scale, scale);
        const QString footer = QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages);
        m_sheet.setPen(Qt::black);
        m_sheet.setFont(font);
        m_sheet.drawText(QPointF((paper.width() - metrics.horizontalAdvance(footer)) / 2,
                                 paper.height() - PageGeometry::kFooterBaseline),
                         footer);
        m_sheet.restore();
    }
    done.clear();
    return m_sheet.end() && ok;
}

PictureCanvas::PictureCanvas(QPicture& picture, QSizeF sizeInPoints, PageGeometry::Surface surface)
    : PageCanvas(picture, surface, sizeInPoints, PageGeometry::Scale(picture)), m_picture(picture)
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

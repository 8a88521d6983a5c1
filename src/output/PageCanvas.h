#pragma once

#include "output/PageGeometry.h"

#include <QPainter>
#include <QPointF>
#include <QSizeF>

class QPagedPaintDevice;
class QPicture;

// A surface the page renderer draws on, in points: paper (a printer or a
// PDF file) or the output viewer's page view. The painter's origin is the
// top left of the drawing area; Position is where the next text goes.
class PageCanvas {
public:
    virtual ~PageCanvas();
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;

    PageGeometry::Surface Surface() const { return m_surface; }
    const PageGeometry& Geometry() const { return m_geometry; }
    QPainter& Painter() { return m_painter; }
    bool IsActive() const { return m_painter.isActive(); }

    // Paper: a new sheet. Page view: cleared. False when the device refused.
    virtual bool NewPage() = 0;

    QPointF Position;

protected:
    // sizeInPoints: the whole surface; scale: device units per point.
    PageCanvas(QPaintDevice& device, PageGeometry::Surface surface, QSizeF sizeInPoints,
               double scale);
    void BeginPainting();
    void EndPainting();

private:
    QPaintDevice* m_device;
    PageGeometry::Surface m_surface;
    PageGeometry m_geometry;
    double m_scale;
    QPainter m_painter;
};

// Paper from a printer or a PDF writer: full pages, measured from the
// paper's edge (the device's own margins should be zero).
class PaperCanvas final : public PageCanvas {
public:
    explicit PaperCanvas(QPagedPaintDevice& device);
    bool NewPage() override;
    // Ends the document; false when the device reports a failure.
    bool Finish();

private:
    QPagedPaintDevice& m_paper;
};

// The page view: one page recorded as a picture of the given size; a
// page break clears it.
class PictureCanvas final : public PageCanvas {
public:
    PictureCanvas(QPicture& picture, QSizeF sizeInPoints);
    ~PictureCanvas() override;
    bool NewPage() override;
    // Stops recording so the picture can be shown.
    void Finish();

private:
    QPicture& m_picture;
};

#pragma once

#include "render/PageGeometry.h"

#include <QList>
#include <QPainter>
#include <QPicture>
#include <QPointF>
#include <QSizeF>
#include <functional>

class QPagedPaintDevice;

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
    QSizeF SizeInPoints() const { return m_size; }
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
    QSizeF m_size;
    PageGeometry m_geometry;
    double m_scale;
    QPainter m_painter;
};

// Pages are drawn into pictures first and reach the paper when the
// document ends, so each can carry "Page N of M" in its footer.
struct PaperPages {
    QPicture current;
    QList<QPicture> done;
};

// Paper from a printer or a PDF writer (or any device, given how it starts
// a new sheet): full pages, measured from the paper's edge (the device's own
// margins should be zero).
class PaperCanvas final : private PaperPages, public PageCanvas {
public:
    explicit PaperCanvas(QPagedPaintDevice& device);
    PaperCanvas(QPaintDevice& device, std::function<bool()> newSheet);
    ~PaperCanvas() override;
    bool NewPage() override;
    // Puts every page on the paper with its footer and ends the document;
    // false when the device reports a failure.
    bool Finish();

private:
    QPaintDevice& m_paper;
    std::function<bool()> m_newSheet;
    QPainter m_sheet;
};

// The page view: one page recorded as a picture of the given size; a
// page break clears it. On the paper surface it stands in for paper to
// measure what a drawing would take.
class PictureCanvas final : public PageCanvas {
public:
    PictureCanvas(QPicture& picture, QSizeF sizeInPoints,
                  PageGeometry::Surface surface = PageGeometry::Surface::PageView);
    ~PictureCanvas() override;
    bool NewPage() override;
    // Stops recording so the picture can be shown.
    void Finish();

private:
    QPicture& m_picture;
};

#pragma once

#include "render/PageCanvas.h"

#include <QFont>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>

// A paint device that keeps every piece of text drawn on it: where (in
// points from the surface's top left), in which font, and on which page.
struct DrawnText {
    QString text;
    QPointF at; // the baseline's start
    QFont font;
    double width = 0;
    int page = 1;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    // Underlines arrive as shapes; the base engine's polygon fallbacks call
    // each other without end.
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++shapes; }
    void drawPath(const QPainterPath&) override { ++shapes; }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        DrawnText t;
        t.text = item.text();
        t.at = painter()->transform().map(p);
        t.font = item.font();
        t.width = item.width() * painter()->transform().m11();
        t.page = page;
        drawn.append(t);
    }
    Type type() const override { return QPaintEngine::User; }

    QList<DrawnText> drawn;
    int shapes = 0;
    int page = 1;
};

// A 612 x 792 point surface at 72 dots per inch, so device units are points.
class RecordingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 612;
        case PdmHeight:
            return 792;
        case PdmWidthMM:
            return 216;
        case PdmHeightMM:
            return 279;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 256;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }
};

// Paper keeps every page; the page view forgets what a page break clears.
class RecordingCanvas final : public PageCanvas {
public:
    RecordingCanvas(RecordingDevice& device, PageGeometry::Surface surface)
        : PageCanvas(device, surface, QSizeF(612, 792), 1.0), m_device(device)
    {}
    bool NewPage() override
    {
        ++m_device.engine.page;
        if (Surface() == PageGeometry::Surface::PageView)
            m_device.engine.drawn.clear();
        return true;
    }

private:
    RecordingDevice& m_device;
};

#include "render/PageGeometry.h"

#include <QPaintDevice>
#include <algorithm>

PageGeometry PageGeometry::For(Surface surface, double surfaceWidth, double surfaceHeight)
{
    PageGeometry g;
    g.origin = surface == Surface::Paper ? QPointF(48, 36) : QPointF(5, 5);
    g.width = std::max(0.0, surfaceWidth - 2 * g.origin.x());
    g.breakAt = kPageDepth;
    if (surface == Surface::Paper)
        g.breakAt =
            std::min(kPageDepth, std::max(0.0, surfaceHeight - 2 * g.origin.y() - kFooterRoom));
    return g;
}

double PageGeometry::Scale(const QPaintDevice& device)
{
    return device.logicalDpiY() / 72.0;
}

PageGeometry PageGeometry::For(Surface surface, const QPaintDevice& device)
{
    const double toPoints = 72.0 / device.logicalDpiX();
    return For(surface, device.width() * toPoints, device.height() * 72.0 / device.logicalDpiY());
}

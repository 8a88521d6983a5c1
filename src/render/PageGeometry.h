#pragma once

#include <QPointF>

class QPaintDevice;

// Where the page renderer draws on a surface, in points (1/72 inch): the
// drawing origin inside the paper or the page view, the drawing width, and
// the height below the origin after which a page breaks.
struct PageGeometry {
    enum class Surface { Paper, PageView };

    QPointF origin;     // from the top left of the surface
    double width = 0;   // surface width less twice the left margin
    double breakAt = 0; // a line starting below this breaks the page

    // The fixed depth of a page: 9.2 inches below the origin.
    static constexpr double kPageDepth = 9.2 * 72;
    // Paper keeps this much above its bottom margin free for the footer
    // ("Page N of M"), whose baseline sits this far above the paper's edge.
    static constexpr double kFooterRoom = 18;
    static constexpr double kFooterBaseline = 24;

    // The geometry of a surface of the given size in points. On paper a
    // page also breaks where the next line would leave the printable
    // height, so smaller paper than Letter or A4 loses no line.
    static PageGeometry For(Surface surface, double surfaceWidth, double surfaceHeight);
    // The same for a paint device, measured through its resolution.
    static PageGeometry For(Surface surface, const QPaintDevice& device);
    // Device units per point on a device.
    static double Scale(const QPaintDevice& device);
};

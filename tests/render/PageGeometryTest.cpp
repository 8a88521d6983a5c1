#include "render/PageGeometry.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(PageGeometryTest, PaperAndViewMarginsAndWidth)
{
    const PageGeometry paper = PageGeometry::For(PageGeometry::Surface::Paper, 612, 792);
    EXPECT_EQ(paper.origin, QPointF(48, 36));
    EXPECT_DOUBLE_EQ(paper.width, 612 - 96);
    const PageGeometry view = PageGeometry::For(PageGeometry::Surface::PageView, 400, 300);
    EXPECT_EQ(view.origin, QPointF(5, 5));
    EXPECT_DOUBLE_EQ(view.width, 390);
    // The view pages by the fixed depth whatever its height.
    EXPECT_DOUBLE_EQ(view.breakAt, 9.2 * 72);
}

TEST(PageGeometryTest, SmallPaperBreaksAtItsPrintableHeight)
{
    // Letter keeps the fixed depth; A6 (297.6 x 419.5 pt) breaks sooner,
    // leaving room for the footer.
    EXPECT_DOUBLE_EQ(PageGeometry::For(PageGeometry::Surface::Paper, 612, 792).breakAt, 9.2 * 72);
    EXPECT_DOUBLE_EQ(PageGeometry::For(PageGeometry::Surface::Paper, 297.6, 419.5).breakAt,
                     419.5 - 72 - PageGeometry::kFooterRoom);
}

TEST(PageGeometryTest, MeasuresADeviceInPoints)
{
    QImage image(1700, 2200, QImage::Format_RGB32); // 8.5 x 11 in at 200 dpi
    image.setDotsPerMeterX(qRound(200 / 0.0254));
    image.setDotsPerMeterY(qRound(200 / 0.0254));
    const PageGeometry g = PageGeometry::For(PageGeometry::Surface::Paper, image);
    EXPECT_NEAR(g.width, 612 - 96, 0.5);
    EXPECT_NEAR(PageGeometry::Scale(image), 200.0 / 72, 0.01);
}

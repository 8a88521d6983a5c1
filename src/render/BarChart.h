#pragma once

#include "stats/ChartData.h"

#include <QFont>
#include <QRectF>
#include <vector>

class QPainter;

// Where each part of a horizontal bar chart goes in an area: the title
// above, then a row per bar with its label on the left, the bar scaled to
// the largest count, and the count after it. Everything lies inside the
// area; rows that do not fit are left out.
struct BarChartLayout {
    QRectF title;
    struct Row {
        QRectF label;
        QRectF bar;
        QRectF count;
    };
    std::vector<Row> rows;
};
BarChartLayout LayOutBarChart(const ChartData& chart, const QRectF& area, const QFont& font);

// Paints the chart on paper colours (black on white), whatever the palette.
void PaintBarChart(QPainter& painter, const ChartData& chart, const QRectF& area);

// The bar under point, or -1.
int BarAt(const ChartData& chart, const QRectF& area, const QFont& font, const QPointF& point);

// The chart as an SVG document, width × height.
QByteArray ChartSvg(const ChartData& chart, int width, int height);

// Writes the chart as a PNG or SVG file, by the name's suffix, at size
// width × height. False with the reason in *error.
bool SaveChart(const ChartData& chart, const QString& path, int width, int height, QString* error);

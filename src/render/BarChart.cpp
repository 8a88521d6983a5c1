#include "render/BarChart.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

BarChartLayout LayOutBarChart(const ChartData& chart, const QRectF& area, const QFont& font)
{
    BarChartLayout layout;
    const QFontMetricsF metrics(font);
    const qreal line = metrics.height();
    const qreal rowHeight = line * 1.4;
    layout.title =
        QRectF(area.left(), area.top(), area.width(), std::min(line * 1.6, area.height()));
    qreal labelWidth = 0, countWidth = 0;
    for (const ChartBar& bar : chart.bars) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(bar.label));
        countWidth = std::max(countWidth, metrics.horizontalAdvance(QString::number(bar.count)));
    }
    const qreal gap = line * 0.5;
    labelWidth = std::min(labelWidth, area.width() * 0.4);
    countWidth = std::min(countWidth + gap, area.width() * 0.15);
    const qreal barLeft = area.left() + labelWidth + gap;
    const qreal barRoom = std::max<qreal>(0, area.right() - countWidth - barLeft);
    const qint64 largest = std::max<qint64>(1, chart.Largest());
    qreal top = layout.title.bottom();
    for (const ChartBar& bar : chart.bars) {
        if (top + rowHeight > area.bottom() + 0.001)
            break;
        BarChartLayout::Row row;
        row.label = QRectF(area.left(), top, labelWidth, rowHeight);
        const qreal length = barRoom * double(bar.count) / double(largest);
        row.bar = QRectF(barLeft, top + rowHeight * 0.15, length, rowHeight * 0.7);
        row.count = QRectF(barLeft + length + gap * 0.5, top, countWidth, rowHeight);
        layout.rows.push_back(row);
        top += rowHeight;
    }
    return layout;
}

void PaintBarChart(QPainter& painter, const ChartData& chart, const QRectF& area)
{
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    const QFont font = painter.font();
    const BarChartLayout layout = LayOutBarChart(chart, area, font);
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignVCenter, chart.title);
    painter.setFont(font);
    for (size_t i = 0; i < layout.rows.size(); ++i) {
        const BarChartLayout::Row& row = layout.rows[i];
        const ChartBar& bar = chart.bars[i];
        const QString label =
            QFontMetricsF(font).elidedText(bar.label, Qt::ElideRight, row.label.width() + 0.5);
        painter.drawText(row.label, Qt::AlignRight | Qt::AlignVCenter, label);
        painter.fillRect(row.bar, QColor(0x3d, 0x6f, 0xb5));
        painter.drawText(row.count, Qt::AlignLeft | Qt::AlignVCenter, QString::number(bar.count));
    }
    painter.restore();
}

int BarAt(const ChartData& chart, const QRectF& area, const QFont& font, const QPointF& point)
{
    const BarChartLayout layout = LayOutBarChart(chart, area, font);
    for (size_t i = 0; i < layout.rows.size(); ++i) {
        const BarChartLayout::Row& row = layout.rows[i];
        if (row.label.united(row.bar).united(row.count).contains(point))
            return static_cast<int>(i);
    }
    return -1;
}

QByteArray ChartSvg(const ChartData& chart, int width, int height)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QRectF area(0, 0, width, height);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(area);
    svg.setTitle(chart.title);
    QPainter painter;
    if (!painter.begin(&svg))
        return {};
    PaintBarChart(painter, chart, area);
    painter.end();
    return buffer.data();
}

bool SaveChart(const ChartData& chart, const QString& path, int width, int height, QString* error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QRectF area(0, 0, width, height);
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(width, height));
        svg.setViewBox(area);
        svg.setTitle(chart.title);
        QPainter painter;
        if (!painter.begin(&svg)) {
            *error = QStringLiteral("Cannot write ") + path;
            return false;
        }
        PaintBarChart(painter, chart, area);
        painter.end();
        if (!QFileInfo::exists(path)) {
            *error = QStringLiteral("Cannot write ") + path;
            return false;
        }
        return true;
    }
    if (suffix != QLatin1String("png")) {
        *error = QStringLiteral("A chart is saved as a .png or .svg file");
        return false;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintBarChart(painter, chart, area);
    painter.end();
    if (!image.save(path, "PNG")) {
        *error = QStringLiteral("Cannot write ") + path;
        return false;
    }
    return true;
}

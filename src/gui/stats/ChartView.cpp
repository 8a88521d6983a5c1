#include "gui/stats/ChartView.h"

#include "render/BarChart.h"

#include <QMouseEvent>
#include <QPainter>

ChartView::ChartView(ChartData chart, std::function<void(const ChartBar&)> clicked, QWidget* parent)
    : QWidget(parent), m_chart(std::move(chart)), m_clicked(std::move(clicked))
{
    setMouseTracking(true);
    setAccessibleName(m_chart.title);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ChartView::sizeHint() const
{
    const qreal line = QFontMetricsF(font()).height();
    return QSize(400, int(line * 1.6 + line * 1.4 * double(m_chart.bars.size()) + 4));
}

int ChartView::BarAt(const QPointF& point) const
{
    return ::BarAt(m_chart, QRectF(rect()), font(), point);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    PaintBarChart(painter, m_chart, QRectF(rect()));
}

void ChartView::mouseMoveEvent(QMouseEvent* event)
{
    const int bar = BarAt(event->position());
    const bool narrows = bar >= 0 && m_chart.bars[static_cast<size_t>(bar)].Narrows();
    setCursor(narrows ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setToolTip(narrows ? QStringLiteral("Show the %1 record(s) of \"%2\"")
                             .arg(m_chart.bars[static_cast<size_t>(bar)].count)
                             .arg(m_chart.bars[static_cast<size_t>(bar)].label)
                       : QString());
}

void ChartView::mousePressEvent(QMouseEvent* event)
{
    const int bar = BarAt(event->position());
    if (bar < 0 || event->button() != Qt::LeftButton)
        return;
    const ChartBar& clicked = m_chart.bars[static_cast<size_t>(bar)];
    if (clicked.Narrows() && m_clicked)
        m_clicked(clicked);
}

#pragma once

#include "stats/ChartData.h"

#include <QWidget>
#include <functional>

// One chart on screen, painted as it is on paper; a click on a bar that
// narrows the records hands that bar on.
class ChartView : public QWidget {
    Q_OBJECT
public:
    ChartView(ChartData chart, std::function<void(const ChartBar& bar)> clicked,
              QWidget* parent = nullptr);

    const ChartData& Chart() const { return m_chart; }
    void SetClicked(std::function<void(const ChartBar&)> clicked)
    {
        m_clicked = std::move(clicked);
    }
    QSize sizeHint() const override;
    // The bar at a point of the widget, or -1.
    int BarAt(const QPointF& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ChartData m_chart;
    std::function<void(const ChartBar&)> m_clicked;
};

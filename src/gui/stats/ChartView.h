#pragma once

#include "stats/ChartData.h"

#include <QWidget>
#include <functional>

// One chart on screen, painted as it is on paper; a click on a bar that
// stands for a value hands that value on.
class ChartView : public QWidget {
    Q_OBJECT
public:
    ChartView(ChartData chart, std::function<void(const QString& value)> clicked,
              QWidget* parent = nullptr);

    const ChartData& Chart() const { return m_chart; }
    QSize sizeHint() const override;
    // The bar at a point of the widget, or -1.
    int BarAt(const QPointF& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ChartData m_chart;
    std::function<void(const QString&)> m_clicked;
};

#pragma once

#include "search/StatisticsController.h"

#include <QWidget>

class ChartView;
class QComboBox;
class QLabel;
class QVBoxLayout;
class Session;

// Options > "Statistics..." (a child window): the answers among the
// summary's records, a section per field with its figures and charts,
// redrawn whenever the summary's records change. A bar narrows the summary
// to its records.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(Session& session, QWidget* parent = nullptr);

    StatisticsController& Controller() { return m_controller; }
    // The charts shown, the submissions chart first.
    QList<ChartView*> Charts() const;
    // Works the statistics out again and lays the sections out.
    void Rebuild();

private:
    void FillFields();
    void SaveChart();
    void Narrow(const ChartData& chart, const ChartBar& bar);

    Session& m_session;
    StatisticsController m_controller;
    QComboBox* m_field;
    QLabel* m_summary;
    QWidget* m_sections = nullptr;
    QVBoxLayout* m_sectionsLayout = nullptr;
    ChartView* m_current = nullptr;
    bool m_currentIsField = false;
    bool m_rebuildQueued = false;
    bool m_filling = false;
};

#include "gui/stats/StatisticsWindow.h"

#include "gui/stats/ChartView.h"
#include "render/BarChart.h"
#include "session/Session.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

StatisticsWindow::StatisticsWindow(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_controller(session), m_field(new QComboBox(this)),
      m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(QStringLiteral("Statistics"));
    m_field->setObjectName(QStringLiteral("cboField"));
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    auto* fieldLabel = new QLabel(QStringLiteral("&Field:"), this);
    fieldLabel->setBuddy(m_field);
    FillFields();

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrSections"));
    scroll->setWidgetResizable(true);
    m_sections = new QWidget(scroll);
    m_sectionsLayout = new QVBoxLayout(m_sections);
    scroll->setWidget(m_sections);

    auto* save = new QPushButton(QStringLiteral("&Save chart..."), this);
    save->setObjectName(QStringLiteral("cmdSaveChart"));
    save->setToolTip(QStringLiteral("Save the first field's chart (or the submissions chart) as "
                                    "a PNG or SVG file"));
    auto* copy = new QPushButton(QStringLiteral("C&opy"), this);
    copy->setObjectName(QStringLiteral("cmdCopy"));
    copy->setToolTip(QStringLiteral("Copy the figures to the clipboard"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto* top = new QHBoxLayout;
    top->addWidget(fieldLabel);
    top->addWidget(m_field, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(save);
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    resize(640, 560);

    connect(m_field, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        m_controller.ChooseField(m_field->currentData().toString());
        Rebuild();
    });
    connect(&m_session.Events, &SessionEvents::FieldNamesChanged, this,
            &StatisticsWindow::FillFields);
    connect(save, &QPushButton::clicked, this, &StatisticsWindow::SaveChart);
    connect(copy, &QPushButton::clicked, this,
            [this] { m_session.ui.SetClipboardText(m_controller.Text()); });
    // Inside the main window's frame the child window closes, not only this.
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto* child = qobject_cast<QMdiSubWindow*>(parentWidget()))
            child->close();
        else
            QWidget::close();
    });
    // A search may come from a click on a bar here: the sections are made
    // again once that click has been handled.
    connect(&m_session.Events, &SessionEvents::SummaryReloaded, this, [this] {
        if (m_rebuildQueued)
            return;
        m_rebuildQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_rebuildQueued = false;
            Rebuild();
        });
    });
    Rebuild();
}

void StatisticsWindow::FillFields()
{
    // Another database, or new field names: the choice stays where it can.
    m_filling = true;
    const QString chosen = m_controller.Field();
    m_field->clear();
    m_field->addItem(QStringLiteral("(every field)"), QString());
    for (const QString& name : m_controller.FieldNames())
        m_field->addItem(name, name);
    const int at = m_field->findData(chosen);
    m_field->setCurrentIndex(std::max(at, 0));
    m_controller.ChooseField(at > 0 ? chosen : QString());
    m_filling = false;
}

QList<ChartView*> StatisticsWindow::Charts() const
{
    return m_sections->findChildren<ChartView*>(QString(), Qt::FindDirectChildrenOnly);
}

void StatisticsWindow::Rebuild()
{
    m_current = nullptr;
    m_currentIsField = false;
    while (QLayoutItem* item = m_sectionsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!m_controller.Refresh()) {
        m_summary->setText(QString());
        return;
    }
    const SummaryStatisticsResult& result = m_controller.Result();
    m_summary->setText(QStringLiteral("%1 record(s)").arg(result.records));
    const auto add = [this](ChartData chart, const QString& field) {
        auto* view = new ChartView(std::move(chart), nullptr, m_sections);
        view->SetClicked([this, view](const ChartBar& bar) { Narrow(view->Chart(), bar); });
        m_sectionsLayout->addWidget(view);
        // Save chart saves the first field's values, else the submissions.
        if (!m_current || (!field.isEmpty() && !m_currentIsField)) {
            m_current = view;
            m_currentIsField = !field.isEmpty();
        }
    };
    if (!result.submissions.bins.empty())
        add(m_controller.Submissions(), QString());
    for (size_t i = 0; i < result.fields.size(); ++i) {
        const FieldStatistics& field = result.fields[i];
        QString figures = QStringLiteral("%1: %2 answered, %3 empty, %4 distinct value(s)")
                              .arg(field.field)
                              .arg(field.answered)
                              .arg(field.empty)
                              .arg(field.Distinct());
        if (field.numeric)
            figures +=
                QStringLiteral("; minimum %1, maximum %2, mean %3, median %4")
                    .arg(m_session.RegionalSettings.Locale().toString(field.numeric->min))
                    .arg(m_session.RegionalSettings.Locale().toString(field.numeric->max))
                    .arg(m_session.RegionalSettings.Locale().toString(field.numeric->mean))
                    .arg(m_session.RegionalSettings.Locale().toString(field.numeric->median));
        auto* label = new QLabel(figures, m_sections);
        label->setWordWrap(true);
        m_sectionsLayout->addWidget(label);
        if (field.answered == 0) {
            label->setText(figures + QStringLiteral(": no answers among these records"));
            continue;
        }
        add(m_controller.Values(static_cast<int>(i)), field.field);
        if (field.numeric)
            add(m_controller.Numbers(static_cast<int>(i)), QString());
        else if (field.dates)
            add(m_controller.Dates(static_cast<int>(i)), QString());
    }
    m_sectionsLayout->addStretch(1);
}

void StatisticsWindow::Narrow(const ChartData& chart, const ChartBar& bar)
{
    // The chart goes with the sections the search's reload rebuilds.
    const ChartData copy = chart;
    const ChartBar clicked = bar;
    m_controller.NarrowTo(copy, clicked);
}

void StatisticsWindow::SaveChart()
{
    if (!m_current) {
        m_session.ui.MessageBox(QStringLiteral("There is no chart to save."),
                                MessageIcon::Information);
        return;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Save chart");
    request.filters =
        ParseFileFilters(QStringLiteral("PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|"));
    request.proposedName = QStringLiteral("chart.png");
    request.defaultExtension = QStringLiteral("png");
    request.overwritePrompt = true;
    const FileDialogResult chosen = m_session.ui.SaveFileDialog(request);
    if (chosen.cancelled || chosen.paths.isEmpty())
        return;
    QString error;
    if (!::SaveChart(m_current->Chart(), chosen.paths.first(), 800,
                     std::max(200, m_current->sizeHint().height() * 2), &error)) {
        m_session.ui.MessageBox(QStringLiteral("Cannot save the chart: ") + error,
                                MessageIcon::Exclamation);
        return;
    }
    m_session.ui.SetStatusText(QStringLiteral("Chart saved to ") + chosen.paths.first());
}

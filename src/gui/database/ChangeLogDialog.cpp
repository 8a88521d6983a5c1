#include "gui/database/ChangeLogDialog.h"

#include "database/ChangeLogBrowser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ChangeLogDialog::ChangeLogDialog(ChangeLogBrowser& browser, QWidget* parent)
    : QDialog(parent), m_browser(browser), m_kind(new QComboBox(this)),
      m_since(new QLineEdit(this)), m_text(new QLineEdit(this)), m_entries(new QTableWidget(this)),
      m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("frmChangeLog"));
    setWindowTitle(QStringLiteral("Change log"));
    m_kind->setObjectName(QStringLiteral("cboKind"));
    m_kind->addItems(ChangeLogBrowser::KindChoices());
    m_since->setObjectName(QStringLiteral("txtSince"));
    m_since->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    m_text->setObjectName(QStringLiteral("txtFind"));
    auto* kindLabel = new QLabel(QStringLiteral("&Kind:"), this);
    kindLabel->setBuddy(m_kind);
    auto* sinceLabel = new QLabel(QStringLiteral("&Since:"), this);
    sinceLabel->setBuddy(m_since);
    auto* textLabel = new QLabel(QStringLiteral("&Containing:"), this);
    textLabel->setBuddy(m_text);
    auto* show = new QPushButton(QStringLiteral("S&how"), this);
    show->setObjectName(QStringLiteral("cmdShow"));
    show->setAutoDefault(true);
    show->setDefault(true);

    const QStringList headings = ChangeLogBrowser::Headings();
    m_entries->setObjectName(QStringLiteral("grdEntries"));
    m_entries->setAccessibleName(QStringLiteral("Change log entries"));
    m_entries->setColumnCount(static_cast<int>(headings.size()));
    m_entries->setHorizontalHeaderLabels(headings);
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_entries->verticalHeader()->hide();
    m_entries->horizontalHeader()->setStretchLastSection(false);
    m_entries->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_count->setObjectName(QStringLiteral("lblCount"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));

    auto* filter = new QHBoxLayout;
    filter->addWidget(kindLabel);
    filter->addWidget(m_kind);
    filter->addWidget(sinceLabel);
    filter->addWidget(m_since);
    filter->addWidget(textLabel);
    filter->addWidget(m_text, 1);
    filter->addWidget(show);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(m_entries, 1);
    layout->addWidget(m_count);
    layout->addWidget(buttons);
    resize(820, 480);

    connect(show, &QPushButton::clicked, this, &ChangeLogDialog::ApplyFilter);
    connect(m_kind, &QComboBox::activated, this, &ChangeLogDialog::ApplyFilter);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Fill();
}

void ChangeLogDialog::ApplyFilter()
{
    m_browser.SetKind(m_kind->currentIndex());
    m_browser.SetText(m_text->text());
    if (!m_browser.SetSince(m_since->text())) {
        m_since->setFocus();
        m_since->selectAll();
        return;
    }
    m_browser.Refresh();
    Fill();
}

void ChangeLogDialog::Fill()
{
    const int rows = m_browser.RowCount();
    const int columns = m_entries->columnCount();
    m_entries->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            m_entries->setItem(row, column, new QTableWidgetItem(m_browser.Cell(row, column)));
    }
    m_entries->resizeColumnToContents(0);
    m_entries->resizeColumnToContents(1);
    m_count->setText(m_browser.CountText());
}

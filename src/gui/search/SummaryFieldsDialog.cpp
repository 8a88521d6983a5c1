#include "gui/search/SummaryFieldsDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

SummaryFieldsDialog::SummaryFieldsDialog(Session& session, QWidget* parent)
    : QDialog(parent), m_choice(session), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmSummaryFields"));
    setWindowTitle(QStringLiteral("Select summary fields"));
    auto* label = new QLabel(QStringLiteral("&Fields shown as columns of the summary"), this);
    label->setBuddy(m_list);
    m_list->setObjectName(QStringLiteral("lstFields"));
    auto* up = new QPushButton(QStringLiteral("Move &up"), this);
    up->setObjectName(QStringLiteral("cmdUp"));
    auto* down = new QPushButton(QStringLiteral("Move &down"), this);
    down->setObjectName(QStringLiteral("cmdDown"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    connect(up, &QPushButton::clicked, this, [this] { Move(true); });
    connect(down, &QPushButton::clicked, this, [this] { Move(false); });
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_choice.SetChecked(m_list->row(item), item->checkState() == Qt::Checked);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &SummaryFieldsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SummaryFieldsDialog::reject);
    Fill(0);
}

void SummaryFieldsDialog::Fill(int current)
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const SummaryFieldsChoice::Item& item : m_choice.Items()) {
        auto* row = new QListWidgetItem(item.name, m_list);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(item.checked ? Qt::Checked : Qt::Unchecked);
    }
    m_list->setCurrentRow(current);
}

void SummaryFieldsDialog::Move(bool up)
{
    const int row = m_list->currentRow();
    if (up ? m_choice.MoveUp(row) : m_choice.MoveDown(row))
        Fill(up ? row - 1 : row + 1);
}

void SummaryFieldsDialog::accept()
{
    if (m_choice.Ok())
        QDialog::accept();
}

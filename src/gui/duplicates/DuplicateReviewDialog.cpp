#include "gui/duplicates/DuplicateReviewDialog.h"

#include "search/DuplicateReview.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

DuplicateReviewDialog::DuplicateReviewDialog(DuplicateReview& review, QWidget* parent)
    : QDialog(parent), m_review(review), m_group(new QLabel(this)), m_grid(new QTableWidget(this)),
      m_previous(new QPushButton(QStringLiteral("&Previous group"), this)),
      m_next(new QPushButton(QStringLiteral("&Next group"), this))
{
    setObjectName(QStringLiteral("frmReviewDuplicates"));
    setWindowTitle(QStringLiteral("Review duplicates"));
    m_group->setObjectName(QStringLiteral("lblGroup"));
    m_grid->setObjectName(QStringLiteral("grdFields"));
    m_grid->setAccessibleName(QStringLiteral("Fields of the records"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(true);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* hint = new QLabel(QStringLiteral("Tick the value of each field to keep. Merge keeps the "
                                           "first record with the ticked values and the other "
                                           "records' notes, and deletes the others."),
                            this);
    hint->setWordWrap(true);
    m_previous->setObjectName(QStringLiteral("cmdPrevious"));
    m_next->setObjectName(QStringLiteral("cmdNext"));
    auto* merge = new QPushButton(QStringLiteral("&Merge"), this);
    merge->setObjectName(QStringLiteral("cmdMerge"));
    auto* notDuplicates = new QPushButton(QStringLiteral("N&ot duplicates"), this);
    notDuplicates->setObjectName(QStringLiteral("cmdNotDuplicates"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    buttons->addWidget(merge);
    buttons->addWidget(notDuplicates);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    layout->addWidget(hint);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    connect(m_previous, &QPushButton::clicked, this, [this] {
        if (m_review.ShowGroup(m_review.CurrentGroup() - 1))
            Fill();
    });
    connect(m_next, &QPushButton::clicked, this, [this] {
        if (m_review.ShowGroup(m_review.CurrentGroup() + 1))
            Fill();
    });
    connect(merge, &QPushButton::clicked, this, [this] { Done(m_review.Merge()); });
    connect(notDuplicates, &QPushButton::clicked, this, [this] { Done(m_review.NotDuplicates()); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableWidget::itemChanged, this, &DuplicateReviewDialog::CellChanged);
    Fill();
}

void DuplicateReviewDialog::Done(bool acted)
{
    if (!acted)
        return;
    if (m_review.GroupCount() == 0) {
        accept();
        return;
    }
    Fill();
}

void DuplicateReviewDialog::Fill()
{
    m_filling = true;
    const MergePreview& preview = m_review.Preview();
    m_group->setText(QStringLiteral("Group %1 of %2: %3")
                         .arg(m_review.CurrentGroup() + 1)
                         .arg(m_review.GroupCount())
                         .arg(m_review.Group().key));
    m_previous->setEnabled(m_review.CurrentGroup() > 0);
    m_next->setEnabled(m_review.CurrentGroup() + 1 < m_review.GroupCount());
    m_grid->clear();
    m_grid->setColumnCount(static_cast<int>(preview.ids.size()));
    m_grid->setRowCount(static_cast<int>(preview.fields.size()));
    for (size_t r = 0; r < preview.ids.size(); ++r) {
        const QDate date = QDate::fromString(preview.dates[r].left(10), Qt::ISODate);
        QString caption = QStringLiteral("Record %1").arg(preview.ids[r]);
        if (date.isValid())
            caption += QStringLiteral(" (%1)").arg(date.toString(Qt::ISODate));
        auto* header = new QTableWidgetItem(caption);
        header->setToolTip(preview.names[r]);
        m_grid->setHorizontalHeaderItem(static_cast<int>(r), header);
    }
    const QColor shade = palette().color(QPalette::AlternateBase);
    for (size_t f = 0; f < preview.fields.size(); ++f) {
        const MergeField& field = preview.fields[f];
        m_grid->setVerticalHeaderItem(static_cast<int>(f), new QTableWidgetItem(field.name));
        const qint64 chosen = m_review.ChosenFor(static_cast<int>(f));
        for (size_t r = 0; r < preview.ids.size(); ++r) {
            auto* cell =
                new QTableWidgetItem(field.held[r] ? field.values[r] : QStringLiteral("(none)"));
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            cell->setCheckState(preview.ids[r] == chosen ? Qt::Checked : Qt::Unchecked);
            if (field.differs) {
                cell->setBackground(shade);
                QFont bold = cell->font();
                bold.setBold(true);
                cell->setFont(bold);
            }
            m_grid->setItem(static_cast<int>(f), static_cast<int>(r), cell);
        }
    }
    m_filling = false;
}

void DuplicateReviewDialog::CellChanged(QTableWidgetItem* item)
{
    if (m_filling)
        return;
    // A row keeps exactly one ticked value: ticking one unticks the others,
    // and the ticked one cannot be unticked.
    const qint64 formId = m_review.Preview().ids[static_cast<size_t>(item->column())];
    if (item->checkState() == Qt::Checked)
        m_review.Choose(item->row(), formId);
    m_filling = true;
    const qint64 chosen = m_review.ChosenFor(item->row());
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        const bool on = m_review.Preview().ids[static_cast<size_t>(c)] == chosen;
        m_grid->item(item->row(), c)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

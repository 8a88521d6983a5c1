#include "gui/search/SummaryFilterHeader.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QScrollBar>

SummaryFilterHeader::SummaryFilterHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSortIndicatorShown(true);
    setSortIndicator(-1, Qt::AscendingOrder);
    connect(this, &QHeaderView::sectionResized, this, &SummaryFilterHeader::PlaceBoxes);
    connect(this, &QHeaderView::sectionMoved, this, &SummaryFilterHeader::PlaceBoxes);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(parent))
        connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                &SummaryFilterHeader::PlaceBoxes);
}

int SummaryFilterHeader::BoxHeight() const
{
    return fontMetrics().height() + 8;
}

QSize SummaryFilterHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(size.height() + BoxHeight());
    return size;
}

void SummaryFilterHeader::updateGeometries()
{
    // The headings keep the top; the boxes sit in the margin below them.
    setViewportMargins(0, 0, 0, BoxHeight());
    QHeaderView::updateGeometries();
    PlaceBoxes();
}

void SummaryFilterHeader::SetFilterTexts(int columns, const QMap<int, QString>& texts)
{
    while (m_boxes.size() > columns)
        delete m_boxes.takeLast();
    while (m_boxes.size() < columns) {
        const int column = int(m_boxes.size());
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtFilter_%1").arg(column));
        box->setPlaceholderText(QStringLiteral("Filter"));
        box->setClearButtonEnabled(true);
        connect(box, &QLineEdit::editingFinished, this, [this, box, column] {
            if (box->isModified() || box->property("applied").toString() != box->text()) {
                box->setModified(false);
                box->setProperty("applied", box->text());
                emit FilterEdited(column, box->text());
            }
        });
        m_boxes.append(box);
        box->show();
    }
    for (int c = 0; c < m_boxes.size(); ++c) {
        m_boxes[c]->setText(texts.value(c));
        m_boxes[c]->setProperty("applied", texts.value(c));
        m_boxes[c]->setAccessibleName(
            QStringLiteral("Filter of %1")
                .arg(model() ? model()->headerData(c, Qt::Horizontal).toString() : QString()));
    }
    PlaceBoxes();
}

void SummaryFilterHeader::MarkInvalid(int column, const QString& why)
{
    for (int c = 0; c < m_boxes.size(); ++c) {
        if (column >= 0 && c != column)
            continue;
        const bool marked = column >= 0;
        m_boxes[c]->setStyleSheet(marked ? QStringLiteral("QLineEdit { border: 2px solid red; }")
                                         : QString());
        m_boxes[c]->setToolTip(marked ? why : QString());
        m_boxes[c]->setProperty("invalid", marked);
    }
}

void SummaryFilterHeader::PlaceBoxes()
{
    const int top = QHeaderView::sizeHint().height();
    for (int c = 0; c < m_boxes.size(); ++c) {
        QLineEdit* box = m_boxes[c];
        if (c >= count() || isSectionHidden(c)) {
            box->hide();
            continue;
        }
        box->setGeometry(sectionViewportPosition(c), top, sectionSize(c), BoxHeight());
        box->show();
    }
}

#pragma once

#include <QHeaderView>
#include <QList>

class QLineEdit;

// The summary's headings with the filter row under them: a box per
// column, kept under its heading as columns are resized, hidden and
// scrolled. Enter (or leaving a changed box) hands its text on.
class SummaryFilterHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SummaryFilterHeader(QWidget* parent = nullptr);

    // One box per section, the texts given (missing ones blank).
    void SetFilterTexts(int columns, const QMap<int, QString>& texts);
    // Marks the box of column as rejected with why (its tooltip), or
    // clears every mark for column -1.
    void MarkInvalid(int column, const QString& why);
    QLineEdit* FilterBox(int column) const { return m_boxes.value(column); }

    QSize sizeHint() const override;

signals:
    void FilterEdited(int column, const QString& text);

protected:
    void updateGeometries() override;

private:
    void PlaceBoxes();
    int BoxHeight() const;

    QList<QLineEdit*> m_boxes;
};

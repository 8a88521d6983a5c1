#pragma once

#include <QDialog>

class DuplicateReview;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// Record > "Review duplicates...": one group of possible duplicates at a
// time, a column per record and a row per field, differing rows shaded;
// the ticked cell of a row is the value the merge keeps. Merge and Not
// duplicates act on the group shown; the window closes when none is left.
class DuplicateReviewDialog : public QDialog {
    Q_OBJECT
public:
    DuplicateReviewDialog(DuplicateReview& review, QWidget* parent = nullptr);

    QTableWidget* Grid() const { return m_grid; }

private:
    void Fill();
    void CellChanged(QTableWidgetItem* item);
    void Done(bool acted);

    DuplicateReview& m_review;
    QLabel* m_group;
    QTableWidget* m_grid;
    QPushButton* m_previous;
    QPushButton* m_next;
    bool m_filling = false;
};

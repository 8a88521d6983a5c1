#pragma once

#include "search/SummaryFieldsChoice.h"

#include <QDialog>

class QListWidget;

// Options > Select summary fields: the database's field names with check
// boxes, in the order of the summary's columns, moved with Up and Down.
class SummaryFieldsDialog : public QDialog {
    Q_OBJECT
public:
    SummaryFieldsDialog(Session& session, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    void accept() override;

private:
    void Fill(int current);
    void Move(bool up);

    SummaryFieldsChoice m_choice;
    QListWidget* m_list;
};

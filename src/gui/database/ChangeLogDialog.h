#pragma once

#include <QDialog>

class ChangeLogBrowser;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// Options > "Change log...": the open database's change log, newest
// first, filtered by kind, a date to start from and a text. Show applies
// the filter; the rows are the browser's.
class ChangeLogDialog : public QDialog {
    Q_OBJECT
public:
    ChangeLogDialog(ChangeLogBrowser& browser, QWidget* parent = nullptr);

private:
    void ApplyFilter();
    void Fill();

    ChangeLogBrowser& m_browser;
    QComboBox* m_kind;
    QLineEdit* m_since;
    QLineEdit* m_text;
    QTableWidget* m_entries;
    QLabel* m_count;
};

#pragma once

#include <QDialog>

class PersonData;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Record > "Find a person's data...": an e-mail address (or any text), the
// records holding it, and saving them as JSON or PDF or erasing them.
class PersonDataDialog : public QDialog {
    Q_OBJECT
public:
    PersonDataDialog(PersonData& data, QWidget* parent = nullptr);

private:
    void Find();
    void ExportPdf();
    void Erase();
    void Show();

    PersonData& m_data;
    QLineEdit* m_address;
    QCheckBox* m_text;
    QPushButton* m_find;
    QLabel* m_found;
    QListWidget* m_records;
    QPushButton* m_json;
    QPushButton* m_pdf;
    QPushButton* m_erase;
};

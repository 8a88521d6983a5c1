#pragma once

#include <QDialog>

class DuplicateKeysSetting;
class QCheckBox;
class QListWidget;
class QSpinBox;

// Options > "Duplicate keys...": the fields whose values make two records
// of the open database possible duplicates, or the whole response, and an
// optional window of days. OK saves them and marks the records again.
class DuplicateKeysDialog : public QDialog {
    Q_OBJECT
public:
    DuplicateKeysDialog(DuplicateKeysSetting& setting, QWidget* parent = nullptr);

    void accept() override;

private:
    void Follow();

    DuplicateKeysSetting& m_setting;
    QListWidget* m_fields;
    QCheckBox* m_whole;
    QCheckBox* m_within;
    QSpinBox* m_days;
};

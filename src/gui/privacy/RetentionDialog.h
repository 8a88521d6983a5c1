#pragma once

#include <QDialog>

class RetentionSetting;
class QCheckBox;
class QListWidget;
class QRadioButton;
class QSpinBox;

// Options > "Retention...": how many days the open database keeps its
// records, and whether older ones are deleted or have chosen fields
// blanked. OK saves the rule and then offers to apply it at once.
class RetentionDialog : public QDialog {
    Q_OBJECT
public:
    RetentionDialog(RetentionSetting& setting, QWidget* parent = nullptr);

    void accept() override;

private:
    void Follow();

    RetentionSetting& m_setting;
    QCheckBox* m_keep;
    QSpinBox* m_days;
    QRadioButton* m_delete;
    QRadioButton* m_mask;
    QListWidget* m_fields;
};

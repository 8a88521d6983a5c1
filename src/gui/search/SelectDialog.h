#pragma once

#include "session/RecordSelection.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class Session;

// The Select Records dialog (frmSelect): which records of the summary an
// operation applies to. A thin view over SelectRecordsController; OK and
// Cancel leave the answer in the session's Selection.
class SelectDialog : public QDialog {
    Q_OBJECT
public:
    SelectDialog(Session& session, bool rowsSelectedInSummary, QWidget* parent = nullptr);

    QRadioButton* Option(int index) const { return m_options[index]; }
    void cmdOKSelect_Click();
    void cmdCancelSelect_Click();

private:
    void ShowState();
    void reject() override;

    Session& m_session;
    SelectRecordsController m_logic;
    QRadioButton* m_options[4];
    QLineEdit* m_from;
    QLineEdit* m_to;
};

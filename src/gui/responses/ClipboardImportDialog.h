#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class Session;

// The clipboard import window (frmClipboardImport): shows the text to be
// imported for the user to confirm, correct or abandon. "&Import" hands
// the text as it stands to the import and closes the window; "&Cancel"
// only closes it. "Import known messages again" stores a message the
// import ledger knows.
class ClipboardImportDialog : public QDialog {
    Q_OBJECT
public:
    ClipboardImportDialog(Session& session, const QString& text, QWidget* parent = nullptr);

    QPlainTextEdit* TextBox() const { return m_text1; }

private:
    void Command1_Click();

    Session& m_session;
    QPlainTextEdit* m_text1;
    QPushButton* m_command1;
    QPushButton* m_command2;
    QCheckBox* m_again;
};

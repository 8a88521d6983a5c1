#pragma once

#include "app/ShellView.h"

#include <QWidget>

class QPlainTextEdit;
class Session;

// The output viewer (frmPrint, "Viewing Record"): report output on screen.
// While it is active the main window's navigation moves through the
// summary's records and shows each one's text.
class OutputViewerWindow : public QWidget, public NavigationTarget {
    Q_OBJECT
public:
    explicit OutputViewerWindow(Session& session, QWidget* parent = nullptr);

    // Shows text in the text view.
    void SetText(const QString& text);
    QString Text() const;
    QPlainTextEdit* TextView() const { return m_text; }

    void Command1_Click(int index) override;

protected:
    bool event(QEvent* event) override;

private:
    Session& m_session;
    QPlainTextEdit* m_text;
};

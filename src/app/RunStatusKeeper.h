#pragma once

#include <QObject>
#include <QString>
#include <optional>

class Ui;

// An output run leaves its result on the status line ("12 record(s)
// written to ..."), and the Output Options dialog closes. The main window
// is then active again, and each child window announces itself on the
// status line as it hears of that, in no fixed order. The run's text is
// what the user needs to read, so it is put back after them.
class RunStatusKeeper : public QObject {
public:
    explicit RunStatusKeeper(Ui& ui, QObject* parent = nullptr) : QObject(parent), m_ui(ui) {}

    // A run ended and left status; the dialog is closing.
    void RunEnded(const QString& status);
    // The main window was activated.
    void FrameActivated();
    // The modal Output Options dialog returned.
    void DialogClosed();

private:
    Ui& m_ui;
    // The run's status until the main window is active again.
    std::optional<QString> m_pending;
    // The status put back on that activation, while the dialog has not
    // yet returned.
    std::optional<QString> m_reapplied;
};

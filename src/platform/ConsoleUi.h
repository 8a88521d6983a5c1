#pragma once

#include "platform/Ui.h"

#include <deque>

// The Ui of the command-line front end: messages go to standard error,
// questions are answered from the command line's flags, and the files a
// dialog would ask for are the ones named on the command line.
class ConsoleUi : public Ui {
public:
    // assumeYes answers every Yes/No or OK/Cancel question with Yes (OK);
    // without it they are answered No (Cancel).
    explicit ConsoleUi(bool assumeYes = false) : m_assumeYes(assumeYes) {}

    void SetAssumeYes(bool yes) { m_assumeYes = yes; }
    // Files handed to the next file dialogs, one entry per dialog.
    void QueueFiles(const QStringList& paths) { m_files.push_back(paths); }
    int MessageCount() const { return m_messages; }

    MessageAnswer MessageBox(const QString& text, MessageIcon icon,
                             MessageButtons buttons) override;
    void SetStatusText(const QString& text) override { m_status = text; }
    QString StatusText() const override { return m_status; }
    void SetBusy(bool) override {}
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    void Yield() override {}
    void ShowProgress(const ProgressRequest&) override { m_progress = true; }
    void UpdateProgress(int, const QString&) override {}
    void UpdateProgressCount(int, qint64) override {}
    void CloseProgress() override { m_progress = false; }
    bool ProgressVisible() const override { return m_progress; }
    // With the stop signals held (StopSignals.h), one that has arrived asks
    // the running command to stop; it stays asked.
    void WatchStopSignals() { m_watchSignals = true; }
    bool CancelRequested() const override;
    void ClearCancelRequested() override {}
    // The stop signal seen by CancelRequested, else 0.
    int StopSignal() const { return m_stopSignal; }
    QString ClipboardText() const override { return m_clipboard; }
    void SetClipboardText(const QString& text) override { m_clipboard = text; }

private:
    FileDialogResult NextFiles();

    bool m_assumeYes;
    std::deque<QStringList> m_files;
    QString m_status;
    QString m_clipboard;
    bool m_progress = false;
    bool m_watchSignals = false;
    mutable int m_stopSignal = 0;
    int m_messages = 0;
};

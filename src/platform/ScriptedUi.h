#pragma once

#include "platform/Ui.h"

#include <QList>
#include <deque>
#include <functional>

// The Ui used by tests: it records every message and status text in the
// order they happen and answers dialogs from queues filled beforehand.
class ScriptedUi : public Ui {
public:
    struct Message {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    // What happened, in order: "message: <text>" and "status: <text>".
    QStringList log;
    QList<Message> messages;
    QStringList statusTexts;
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
    QList<ProgressRequest> progressShown;
    QList<QPair<int, QString>> progressUpdates;
    int yields = 0;
    int busyDepth = 0;
    int unansweredQuestions = 0;
    QString clipboard;

    // Answers for message boxes with more than an OK button, taken in order.
    // With the queue empty such a box is answered No (or Cancel) and counted
    // in unansweredQuestions.
    void QueueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    // Paths chosen in the next file dialog (open or save).
    void QueueFiles(const QStringList& paths, bool optionChecked = false)
    {
        m_files.push_back({false, paths, optionChecked});
    }
    void QueueCancel() { m_files.push_back({true, {}}); }
    // Presses the progress dialog's Cancel button after that many updates.
    void CancelAfterUpdates(int updates) { m_cancelAfter = updates; }
    // Runs at every yield, as a click delivered then would (a Cancel during
    // a long statement).
    std::function<void()> onYield;
    // The progress dialog's Cancel button.
    void PressCancel()
    {
        m_cancel = true;
        m_progressVisible = false;
    }

    MessageAnswer MessageBox(const QString& text, MessageIcon icon,
                             MessageButtons buttons) override;
    void SetStatusText(const QString& text) override;
    QString StatusText() const override { return m_status; }
    void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    void Yield() override
    {
        ++yields;
        if (onYield)
            onYield();
    }
    void ShowProgress(const ProgressRequest& request) override;
    void UpdateProgress(int value, const QString& label) override;
    void CloseProgress() override { m_progressVisible = false; }
    bool ProgressVisible() const override { return m_progressVisible; }
    bool CancelRequested() const override { return m_cancel; }
    void ClearCancelRequested() override { m_cancel = false; }
    QString ClipboardText() const override { return clipboard; }
    void SetClipboardText(const QString& text) override { clipboard = text; }

    // Texts of the messages shown so far.
    QStringList MessageTexts() const;

private:
    FileDialogResult NextFiles();

    std::deque<MessageAnswer> m_answers;
    std::deque<FileDialogResult> m_files;
    QString m_status;
    bool m_progressVisible = false;
    bool m_cancel = false;
    int m_cancelAfter = -1;
};

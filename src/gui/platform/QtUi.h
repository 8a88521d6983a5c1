#pragma once

#include "platform/Clock.h"
#include "platform/Ui.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class ProgramFolders;
class QProgressDialog;
class QWidget;

// The Ui with real dialogs. The status text goes to whatever the main
// window connects with SetStatusSink.
class QtUi : public Ui {
public:
    explicit QtUi(const Clock& clock, QWidget* parent = nullptr)
        : m_parent(parent), m_sinceEvents(clock), m_sinceRedraw(clock)
    {}
    ~QtUi() override;

    void SetParent(QWidget* parent) { m_parent = parent; }
    // Where file dialogs remember their folders; without it they start
    // where the platform starts them.
    void SetFolders(const ProgramFolders* folders) { m_folders = folders; }
    void SetStatusSink(std::function<void(const QString&)> sink) { m_statusSink = std::move(sink); }

    MessageAnswer MessageBox(const QString& text, MessageIcon icon,
                             MessageButtons buttons) override;
    void SetStatusText(const QString& text) override;
    QString StatusText() const override { return m_status; }
    void SetBusy(bool busy) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    void Yield() override;
    void ShowProgress(const ProgressRequest& request) override;
    void UpdateProgress(int value, const QString& label) override;
    void CloseProgress() override;
    bool ProgressVisible() const override;
    bool CancelRequested() const override { return m_cancel; }
    void ClearCancelRequested() override { m_cancel = false; }
    QString ClipboardText() const override;
    void SetClipboardText(const QString& text) override;

private:
    FileDialogResult RunFileDialog(const FileDialogRequest& request, bool save);
    void ShowPendingProgress();

    // Loops over many records yield and report progress after every one,
    // far more often than anyone can see: the window system is served, and
    // the progress window drawn, every few milliseconds.
    static constexpr qint64 kYieldMs = 10;
    static constexpr qint64 kRedrawMs = 50;

    QPointer<QWidget> m_parent;
    const ProgramFolders* m_folders = nullptr;
    std::function<void(const QString&)> m_statusSink;
    QString m_status;
    QPointer<QProgressDialog> m_progress;
    bool m_cancel = false;
    Stopwatch m_sinceEvents;
    Stopwatch m_sinceRedraw;
    std::optional<std::pair<int, QString>> m_pendingProgress;
};

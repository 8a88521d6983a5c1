#include "gui/platform/QtUi.h"

#include "platform/DialogFolders.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>

namespace {

QString FilterText(const QList<FileFilter>& filters)
{
    QStringList parts;
    for (const FileFilter& f : filters) {
        QString description = f.description;
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + f.pattern + QLatin1Char(')');
        parts.append(description);
    }
    return parts.join(QStringLiteral(";;"));
}

// Line breaks as the program writes them (CR LF) shown as one break.
QString ShownText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QtUi::~QtUi()
{
    if (m_progress)
        m_progress->deleteLater();
}

MessageAnswer QtUi::MessageBox(const QString& text, MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(QStringLiteral("Tallowmere"));
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        break;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

void QtUi::SetStatusText(const QString& text)
{
    m_status = text;
    if (m_statusSink)
        m_statusSink(text);
}

void QtUi::SetBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

FileDialogResult QtUi::RunFileDialog(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(m_parent, request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : (request.multipleSelection ? QFileDialog::ExistingFiles
                                                         : QFileDialog::ExistingFile));
    if (!request.filters.isEmpty()) {
        dialog.setNameFilter(FilterText(request.filters));
        const QStringList names = dialog.nameFilters();
        if (request.selectedFilter >= 0 && request.selectedFilter < names.size())
            dialog.selectNameFilter(names[request.selectedFilter]);
    }
    if (m_folders)
        dialog.setDirectory(DialogStartFolder(*m_folders, request));
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.proposedName.isEmpty() && !request.proposedName.contains(QLatin1Char('*')))
        dialog.selectFile(request.proposedName);
    if (save && !request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QCheckBox* option = nullptr;
    if (!request.optionText.isEmpty()) {
        // Only Qt's own dialog takes a control of ours.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        option = new QCheckBox(request.optionText, &dialog);
        option->setObjectName(QStringLiteral("chkFileDialogOption"));
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(option, grid->rowCount(), 0, 1, grid->columnCount());
    }
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    if (!accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (m_folders)
        RememberDialogFolder(*m_folders, request, chosen);
    return {false, chosen, option && option->isChecked()};
}

FileDialogResult QtUi::OpenFileDialog(const FileDialogRequest& request)
{
    return RunFileDialog(request, false);
}

FileDialogResult QtUi::SaveFileDialog(const FileDialogRequest& request)
{
    return RunFileDialog(request, true);
}

void QtUi::Yield()
{
    // A Cancel pressed meanwhile is seen at the next yield that serves the
    // window system, a few milliseconds later at most.
    if (m_sinceEvents.IsValid() && m_sinceEvents.Elapsed() < kYieldMs)
        return;
    if (m_pendingProgress && m_sinceRedraw.Elapsed() >= kRedrawMs)
        ShowPendingProgress();
    QApplication::processEvents();
    m_sinceEvents.Start();
}

void QtUi::ShowProgress(const ProgressRequest& request)
{
    // The progress window (frmProgress): loading it clears the cancel flag;
    // Cancel sets the flag and closes the window, and the caller's loop sees
    // it after its next yield.
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
    }
    m_progress = new QProgressDialog(m_parent);
    m_progress->setObjectName(QStringLiteral("frmProgress"));
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(0);
    m_progress->setWindowModality(Qt::NonModal);
    auto* bar = new QProgressBar(m_progress);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setBar(bar);
    auto* label = new QLabel(m_progress);
    label->setObjectName(QStringLiteral("lblProgress"));
    m_progress->setLabel(label);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), m_progress);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_progress->setCancelButton(cancel);
    // A caller that cannot be stopped shows the button unusable.
    cancel->setEnabled(request.cancellable);
    bar->setVisible(request.showBar);
    QObject::connect(m_progress, &QProgressDialog::canceled, m_progress, [this] {
        m_cancel = true;
        if (m_progress)
            m_progress->hide();
    });
    m_cancel = false;
    m_progress->setWindowTitle(request.caption);
    m_progress->setRange(request.minimum, request.maximum);
    m_progress->setValue(request.value);
    m_progress->setLabelText(ShownText(request.label));
    m_progress->show();
    m_pendingProgress.reset();
    m_sinceRedraw.Invalidate();
}

void QtUi::UpdateProgress(int value, const QString& label)
{
    if (!m_progress)
        return;
    m_pendingProgress.emplace(value, label);
    // The first update after the window is shown and the last one appear at
    // once, the others when the last drawing is old enough to be seen.
    if (!m_sinceRedraw.IsValid() || value >= m_progress->maximum() ||
        m_sinceRedraw.Elapsed() >= kRedrawMs)
        ShowPendingProgress();
}

void QtUi::ShowPendingProgress()
{
    if (!m_progress || !m_pendingProgress)
        return;
    const auto [value, label] = *std::exchange(m_pendingProgress, std::nullopt);
    if (value > m_progress->maximum())
        m_progress->setMaximum(value);
    m_progress->setValue(value);
    m_progress->setLabelText(ShownText(label));
    m_sinceRedraw.Start();
}

void QtUi::CloseProgress()
{
    m_pendingProgress.reset();
    if (m_progress) {
        m_progress->hide();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
}

bool QtUi::ProgressVisible() const
{
    return m_progress && m_progress->isVisible();
}

QString QtUi::ClipboardText() const
{
    return QGuiApplication::clipboard()->text();
}

void QtUi::SetClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

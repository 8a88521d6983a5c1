#include "platform/ScriptedUi.h"

MessageAnswer ScriptedUi::MessageBox(const QString& text, MessageIcon icon, MessageButtons buttons)
{
    messages.append({text, icon, buttons});
    log.append(QStringLiteral("message: ") + text);
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (!m_answers.empty()) {
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    ++unansweredQuestions;
    return buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::No;
}

void ScriptedUi::SetStatusText(const QString& text)
{
    m_status = text;
    statusTexts.append(text);
    log.append(QStringLiteral("status: ") + text);
}

FileDialogResult ScriptedUi::NextFiles()
{
    if (m_files.empty())
        return {};
    FileDialogResult result = m_files.front();
    m_files.pop_front();
    return result;
}

FileDialogResult ScriptedUi::OpenFileDialog(const FileDialogRequest& request)
{
    openRequests.append(request);
    return NextFiles();
}

FileDialogResult ScriptedUi::SaveFileDialog(const FileDialogRequest& request)
{
    saveRequests.append(request);
    return NextFiles();
}

void ScriptedUi::ShowProgress(const ProgressRequest& request)
{
    progressShown.append(request);
    m_progressVisible = true;
    m_cancel = false;
}

void ScriptedUi::UpdateProgress(int value, const QString& label)
{
    progressUpdates.append({value, label});
    if (m_cancelAfter >= 0 && progressUpdates.size() >= m_cancelAfter) {
        m_cancel = true;
        m_progressVisible = false;
        m_cancelAfter = -1;
    }
}

QStringList ScriptedUi::MessageTexts() const
{
    QStringList texts;
    for (const Message& m : messages)
        texts.append(m.text);
    return texts;
}

#include "platform/ConsoleUi.h"

#include "platform/StopSignals.h"

#include <cstdio>

MessageAnswer ConsoleUi::MessageBox(const QString& text, MessageIcon, MessageButtons buttons)
{
    ++m_messages;
    // A break after a blank only wraps a message box's long line (a file
    // name after its message); a terminal keeps such text on one line.
    QString shown = text;
    shown.replace(QStringLiteral(" \r\n"), QStringLiteral(" "));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", shown.toLocal8Bit().constData());
    std::fflush(stderr);
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return m_assumeYes ? MessageAnswer::Ok : MessageAnswer::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        break;
    }
    return m_assumeYes ? MessageAnswer::Yes : MessageAnswer::No;
}

FileDialogResult ConsoleUi::NextFiles()
{
    if (m_files.empty())
        return {};
    FileDialogResult result{false, m_files.front()};
    m_files.pop_front();
    return result;
}

FileDialogResult ConsoleUi::OpenFileDialog(const FileDialogRequest&)
{
    return NextFiles();
}
FileDialogResult ConsoleUi::SaveFileDialog(const FileDialogRequest&)
{
    return NextFiles();
}

bool ConsoleUi::CancelRequested() const
{
    if (m_watchSignals && m_stopSignal == 0)
        m_stopSignal = TakeStopSignal();
    return m_stopSignal != 0;
}

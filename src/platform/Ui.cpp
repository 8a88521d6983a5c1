#include "platform/Ui.h"

QList<FileFilter> ParseFileFilters(const QString& filterText)
{
    QList<FileFilter> filters;
    const QStringList pieces = filterText.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        if (pieces[i].isEmpty() && pieces[i + 1].isEmpty())
            continue;
        filters.append({pieces[i], pieces[i + 1]});
    }
    return filters;
}

void Ui::ShowWindowStatus(const QString& text)
{
    m_windowStatus = text;
    const bool resultShown =
        m_windowStatusShown ? StatusText() != *m_windowStatusShown : !StatusText().isEmpty();
    if (resultShown)
        return;
    SetStatusText(text);
    m_windowStatusShown = text;
}

void Ui::StartCommand()
{
    SetStatusText(m_windowStatus);
    m_windowStatusShown = m_windowStatus;
}

#include "app/RunStatusKeeper.h"

#include "platform/Ui.h"

#include <QTimer>
#include <utility>

void RunStatusKeeper::RunEnded(const QString& status)
{
    m_pending = status;
    m_reapplied.reset();
}

void RunStatusKeeper::FrameActivated()
{
    if (!m_pending)
        return;
    const QString status = *std::exchange(m_pending, std::nullopt);
    m_ui.SetStatusText(status);
    // The children hear of the activation after the window itself: once
    // more when they have all spoken.
    QTimer::singleShot(0, this, [this, status] { m_ui.SetStatusText(status); });
    m_reapplied = status;
}

void RunStatusKeeper::DialogClosed()
{
    // The activation may come before the dialog returns or after it.
    if (m_pending)
        m_ui.SetStatusText(*m_pending);
    else if (m_reapplied)
        m_ui.SetStatusText(*m_reapplied);
    m_reapplied.reset();
}

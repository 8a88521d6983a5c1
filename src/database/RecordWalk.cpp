#include "database/RecordWalk.h"

#include "platform/Ui.h"

ProgressPacer::ProgressPacer(Ui& ui, int total) : m_ui(ui), m_total(total)
{
    m_timer.start();
}

void ProgressPacer::AfterRecord(int done)
{
    if (done >= m_total || m_timer.elapsed() >= kMilliseconds) {
        m_ui.UpdateProgressCount(done, m_total);
        m_timer.restart();
    }
    m_ui.Yield();
}

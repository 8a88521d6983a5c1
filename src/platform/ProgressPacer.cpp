#include "platform/ProgressPacer.h"

#include "platform/Ui.h"

ProgressPacer::ProgressPacer(Ui& ui, const Clock& clock, int total)
    : m_ui(ui), m_total(total), m_timer(clock)
{
    m_timer.Start();
}

void ProgressPacer::AfterRecord(int done)
{
    if (done >= m_total || m_timer.Elapsed() >= kMilliseconds) {
        m_ui.UpdateProgressCount(done, m_total);
        m_timer.Start();
    }
    m_ui.Yield();
}

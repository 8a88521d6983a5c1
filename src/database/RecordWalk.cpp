#include "database/RecordWalk.h"

#include "app/Session.h"
#include "search/RecordSelection.h"

#include <unordered_set>

std::vector<qint64> RecordsToProcess(Session& session, const std::vector<qint64>& selectedRows)
{
    const RecordSelection& selection = session.Selection;
    const RecordSet& summary = session.Database.SummaryRecords;
    if (selection.SelectionFrom != RecordSelection::kSelectedRows || selection.SelectionTo != 0)
        return SelectedRecords(selection, summary.Ids(), selectedRows, summary.Bookmark());
    const std::unordered_set<qint64> inSummary(summary.Ids().begin(), summary.Ids().end());
    std::unordered_set<qint64> taken;
    std::vector<qint64> ids;
    for (const qint64 id : selectedRows) {
        if (inSummary.count(id) && taken.insert(id).second)
            ids.push_back(id);
    }
    return ids;
}

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

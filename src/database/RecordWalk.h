#pragma once

#include "platform/Clock.h"

#include <QString>
#include <QtGlobal>
#include <vector>

class Session;
class Ui;

// Where deleting and transferring learn which records to work on: the
// Select Records dialog and the summary grid's selected rows. The desktop
// program answers with its windows, the command line from its options,
// tests from a script.
class RecordChooser {
public:
    virtual ~RecordChooser() = default;
    // Shows the Select Records dialog with caption, modally; it leaves its
    // answer in the session's Selection.
    virtual void ShowSelectDialog(const QString& caption) = 0;
    // FormIDs of the rows selected in the summary grid, in selection order.
    virtual std::vector<qint64> SelectedSummaryRows() const = 0;
};

// The records the session's Selection denotes, in the order they are
// worked on: the selected rows in selection order (rows no longer in the
// summary skipped), otherwise as SelectedRecords gives them.
std::vector<qint64> RecordsToProcess(Session& session, const std::vector<qint64>& selectedRows);

// Advances the progress dialog of a walk over records: yields after every
// record so Cancel is seen, but redraws the bar and label at most every
// kMilliseconds (and after the last record), so a fast walk does not spend
// its time painting.
class ProgressPacer {
public:
    static constexpr qint64 kMilliseconds = 100;

    ProgressPacer(Ui& ui, const Clock& clock, int total);
    // After record number done (1-based) of the walk.
    void AfterRecord(int done);

private:
    Ui& m_ui;
    int m_total;
    Stopwatch m_timer;
};

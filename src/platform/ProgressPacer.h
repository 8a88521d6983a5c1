#pragma once

#include "platform/Clock.h"

#include <QString>
#include <QtGlobal>
#include <vector>

class Ui;

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

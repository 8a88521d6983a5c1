#pragma once

#include "search/QueryRow.h"
#include "search/QuickFind.h"

// The state of the Quick Find panel and the Query Builder, kept for the
// whole run (the Query Builder's rows survive its window being hidden).
struct SearchState {
    QList<QuickFindEntry> QuickFindEntries; // Combo1's list
    int QuickFindSelected = -1;             // index into it; -1 none
    QString lblFind = QStringLiteral("Find SQL string");

    QueryGrid QueryRows{QueryRow()};
    int QueryColumns = kShownQueryColumns; // shown columns Go processes
};

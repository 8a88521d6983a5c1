#pragma once

#include "session/QueryRow.h"

#include <QList>
#include <QString>

// One entry of the Quick Find field list: a record-level field (its place
// in the configuration's record field list, from 0) or a field by name
// (item number -1).
struct QuickFindEntry {
    QString text;
    qint32 itemNumber = -1;
    bool operator==(const QuickFindEntry&) const = default;
};

// The state of the Quick Find panel and the Query Builder, kept for the
// whole run (the Query Builder's rows survive its window being hidden).
struct SearchState {
    QList<QuickFindEntry> QuickFindEntries; // Combo1's list
    int QuickFindSelected = -1;             // index into it; -1 none
    QString lblFind = QStringLiteral("Find SQL string");

    QueryGrid QueryRows{QueryRow()};
    int QueryColumns = kShownQueryColumns; // shown columns Go processes
};

#pragma once

#include "ledger/ImportTally.h"

#include <QByteArray>

// The tally line an import prints after its status line.
inline QByteArray TallyLine(int imported, int stored, int known = 0, int noResponse = 0,
                            int failed = 0)
{
    ImportTally tally;
    tally.imported = imported;
    tally.stored = stored;
    tally.known = known;
    tally.noResponse = noResponse;
    tally.failed = failed;
    return tally.Line().toUtf8() + '\n';
}

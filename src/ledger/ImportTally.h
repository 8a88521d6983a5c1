#pragma once

#include <QString>

// What one import did with the items it read (messages, or the responses of
// plain text files). Each item read is counted once: with responses, known,
// without a response, or failed; stored counts the records the first gave.
struct ImportTally {
    int imported = 0;   // items that gave records
    int stored = 0;     // records stored
    int known = 0;      // already imported before: skipped
    int noResponse = 0; // held no response
    int failed = 0;     // could not be read or stored
    int warnings = 0;   // items read past a fault (each was reported)

    int Read() const { return imported + known + noResponse + failed; }
    ImportTally& operator+=(const ImportTally& other);

    // "N read: ..." on one line, for people.
    QString Line() const;
    // The same as a JSON object, for scripts.
    QString Json() const;
};

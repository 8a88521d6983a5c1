#pragma once

#include "duplicates/DuplicateKeys.h"

#include <QStringList>
#include <optional>

class Session;

// Options > "Duplicate keys...": which fields make two records of the open
// database possible duplicates. Saving marks the records again by the new
// keys (no keys: the marks go), pairs found to be no duplicates staying so.
class DuplicateKeysSetting {
public:
    explicit DuplicateKeysSetting(Session& session) : m_session(session) {}

    // Reads the saved keys and the database's field names; false after a
    // message.
    bool Load();
    const QStringList& FieldNames() const { return m_fieldNames; }
    const DuplicateKeys& Saved() const { return m_saved; }

    // Saves keys and marks the records; the status bar tells the count.
    // False after a message.
    bool Save(const DuplicateKeys& keys);

private:
    Session& m_session;
    QStringList m_fieldNames;
    DuplicateKeys m_saved;
};

#pragma once

#include "privacy/RetentionRule.h"

#include <QStringList>

class Session;

// Options > "Retention...", and the check on opening a database: the open
// database's rule, and applying it once the user agrees.
class RetentionSetting {
public:
    explicit RetentionSetting(Session& session) : m_session(session) {}

    // Reads the saved rule and the field names; false after a message.
    bool Load();
    const RetentionRule& Saved() const { return m_saved; }
    const QStringList& FieldNames() const { return m_fieldNames; }

    // Saves the rule (one that is not set removes it); false after a
    // message, the saved rule unchanged.
    bool Save(RetentionRule rule);

    // Finds the records past the period and asks before changing them
    // ("12 records are past the retention period of 365 days: delete them
    // now?"). Nothing past, no rule or No: nothing changes. Returns how many
    // records changed, or -1 after an error message.
    int CheckAndApply();

private:
    Session& m_session;
    RetentionRule m_saved;
    QStringList m_fieldNames;
};

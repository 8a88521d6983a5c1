#pragma once

#include "privacy/RetentionRule.h"

#include <QDate>
#include <vector>

class Clock;
class DatabaseConnection;

// The records a rule changes today: those dated before the cut-off day
// (today less the period), in FormID order; for masking only those with
// something left to blank in the masked fields.
struct RetentionPlan {
    QDate cutoff;
    std::vector<qint64> ids;
};

// Both throw the engine's errors.
RetentionPlan PlanRetention(DatabaseConnection& connection, const RetentionRule& rule,
                            const QDate& today);
// Deletes the plan's records (their fields go with them) or blanks their
// masked fields, and logs the run with the records it changed, in one
// transaction; returns how many records changed.
int ApplyRetention(DatabaseConnection& connection, const Clock& clock, const RetentionRule& rule,
                   const RetentionPlan& plan);

// The question asked before applying: "12 records are past the retention
// period of 365 days: delete them now?" (for masking: "... mask email,
// phone in them now?").
QString RetentionQuestion(const RetentionRule& rule, int count);
// What a run did: "12 record(s) deleted: past the retention period of 365
// days" (or "masked (email, phone)"); before a run, "... would be deleted ...".
QString RetentionOutcome(const RetentionRule& rule, int count, bool done = true);

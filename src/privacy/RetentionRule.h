#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class DatabaseConnection;

// How long a database keeps its records: those whose record date is more
// than `days` days before today are deleted, or have the chosen fields
// blanked while the record stays. A record exactly `days` days old is
// still kept; one without a date is never past the period.
struct RetentionRule {
    enum class Action { Delete, Mask };

    int days = 0; // 0: no rule
    Action action = Action::Delete;
    QStringList fields; // masked fields, spelt as the field-names list spells them

    bool IsSet() const { return days > 0; }
    bool operator==(const RetentionRule&) const = default;
};

// The rule saved with the database, in a table of its own made when a rule
// is first saved; none (IsSet() false) when nothing was saved. Both throw
// the engine's errors; saving a rule that is not set removes the rule.
RetentionRule LoadRetentionRule(DatabaseConnection& connection);
void SaveRetentionRule(DatabaseConnection& connection, const RetentionRule& rule);

// Why the rule cannot be saved ("The retention period must be one day or
// more."), or empty. fieldNamesList is the database's list, for the masked
// fields; *rule gets them spelt as the list spells them.
QString RetentionRuleProblem(RetentionRule* rule, const QString& fieldNamesList);

// The command line's form of a rule: "days=N,action=delete" or
// "days=N,action=mask,fields=NAME,NAME..." (the fields last), "none" for
// no rule. Empty with a description in *error when the text is no rule.
std::optional<RetentionRule> ParseRetentionRule(const QString& text, QString* error);
// "1 day", "365 days".
QString RetentionPeriodText(int days);
// One line for people: "365 days, then delete the record" or "365 days,
// then mask email, phone", or "none".
QString DescribeRetentionRule(const RetentionRule& rule);

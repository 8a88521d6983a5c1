#pragma once

#include "duplicates/DuplicateFinder.h"
#include "duplicates/RecordMerge.h"

#include <QString>
#include <vector>

class Session;

// Record > "Review duplicates...": the open database's groups of possible
// duplicates by its saved keys, one at a time, side by side field by
// field, with the value of each field to keep; Merge and Not duplicates
// act on the group shown. Every message goes through the session's Ui.
class DuplicateReview {
public:
    explicit DuplicateReview(Session& session) : m_session(session) {}

    // Finds the groups and shows the first. False after a message: no keys
    // saved, no group found, or an error.
    bool Start();

    int GroupCount() const { return static_cast<int>(m_groups.size()); }
    int CurrentGroup() const { return m_current; }
    // Shows another group; false after a message when it cannot be read.
    bool ShowGroup(int index);
    const DuplicateGroup& Group() const { return m_groups[static_cast<size_t>(m_current)]; }
    const MergePreview& Preview() const { return m_preview; }

    // The record whose value of field (an index into Preview().fields) the
    // merge keeps: the latest non-empty until another is chosen.
    qint64 ChosenFor(int field) const;
    void Choose(int field, qint64 formId);

    // Asks, then merges the group into its first record with the chosen
    // values; the summary and the viewer follow. False when declined or
    // after a message. A group that another program has since reduced to
    // one record is said so and dropped (true: the group shown changed).
    bool Merge();
    // Clears the group's marks so it is not raised again; the same for a
    // group reduced to one record.
    bool NotDuplicates();

private:
    // The group shown lost its other records: said so and dropped.
    bool GroupGone();
    // The group shown is done with: the next one (or none) is shown.
    void DropCurrent();

    Session& m_session;
    std::vector<DuplicateGroup> m_groups;
    int m_current = 0;
    MergePreview m_preview;
    MergeChoices m_choices;
};

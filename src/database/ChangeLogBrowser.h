#pragma once

#include "database/ChangeLog.h"

#include <QStringList>

class Session;

// Options > "Change log...": the entries of the open database's change
// log that pass a filter (a kind, a date to start from, a text), newest
// first, as rows of five columns. The window shows what this holds.
class ChangeLogBrowser {
public:
    explicit ChangeLogBrowser(Session& session) : m_session(session) {}

    // The kind filter's choices: "All kinds", then every kind's name.
    static QStringList KindChoices();
    // "When", "Kind", "What", "Records", "User".
    static QStringList Headings();

    // choice is an index into KindChoices (0: every kind).
    void SetKind(int choice);
    void SetText(const QString& text) { m_filter.text = text.trimmed(); }
    // Empty for no start; false, having told the user, when the text is not
    // a date (the filter keeps its start).
    bool SetSince(const QString& text);

    // Reads the entries again; false, having shown "Error reading the
    // change log: " with the engine's text, when they cannot be read (the
    // rows are then empty).
    bool Refresh();

    int RowCount() const { return static_cast<int>(m_entries.size()); }
    // The column's text of a row; the time in local time.
    QString Cell(int row, int column) const;
    // "3 entries" / "1 entry" / "No entries".
    QString CountText() const;

private:
    Session& m_session;
    ChangeLogFilter m_filter;
    std::vector<ChangeLogEntry> m_entries; // newest first
};

#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

class DatabaseConnection;

// A set of records as an ordered list of FormIDs with a position: what a
// cursor over Forms is to the program. A bookmark is a FormID, a clone is
// a copy, seek is a lookup. Before the first row is BOF, past the last is
// EOF; an empty set is both. The list is in ascending FormID order unless
// it was assigned in another one (a sorted summary).
class RecordSet {
public:
    // Every FormID of Forms, ascending; the position goes to the first row.
    void Load(DatabaseConnection& connection);
    void Assign(std::vector<qint64> ids);

    int Count() const { return static_cast<int>(m_ids.size()); }
    bool IsBOF() const { return m_ids.empty() || m_position < 0; }
    bool IsEOF() const { return m_ids.empty() || m_position >= Count(); }

    void MoveFirst() { m_position = 0; }
    void MoveLast() { m_position = Count() - 1; }
    void MoveNext() { m_position = std::min(m_position + 1, Count()); }
    void MovePrevious() { m_position = std::max(m_position - 1, -1); }

    int Position() const { return m_position; }
    // The FormID of the current row; empty at BOF or EOF.
    std::optional<qint64> Bookmark() const;
    // Moves to the row of formId; false (position unchanged) when absent.
    bool Seek(qint64 formId);

    // A record just stored: added in FormID order (at the end of a list in
    // another order) and made current.
    void Add(qint64 formId);
    // A record deleted: removed; the position stays on the row after it.
    void Remove(qint64 formId);

    const std::vector<qint64>& Ids() const { return m_ids; }

private:
    // Where formId is, or end.
    std::vector<qint64>::iterator Find(qint64 formId);

    std::vector<qint64> m_ids;
    int m_position = 0;
    bool m_ascending = true;
};

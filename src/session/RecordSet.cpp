#include "session/RecordSet.h"

#include "platform/DatabaseConnection.h"

#include <algorithm>

void RecordSet::Load(DatabaseConnection& connection)
{
    std::vector<qint64> ids;
    SQLite::Statement& all =
        connection.Cached("SELECT \"FormID\" FROM \"Forms\" ORDER BY \"FormID\"");
    while (all.executeStep())
        ids.push_back(all.getColumn(0).getInt64());
    all.reset();
    Assign(std::move(ids));
}

void RecordSet::Assign(std::vector<qint64> ids)
{
    m_ids = std::move(ids);
    m_position = 0;
}

std::optional<qint64> RecordSet::Bookmark() const
{
    if (IsBOF() || IsEOF())
        return std::nullopt;
    return m_ids[static_cast<size_t>(m_position)];
}

bool RecordSet::Seek(qint64 formId)
{
    const auto found = std::lower_bound(m_ids.begin(), m_ids.end(), formId);
    if (found == m_ids.end() || *found != formId)
        return false;
    m_position = static_cast<int>(found - m_ids.begin());
    return true;
}

void RecordSet::Add(qint64 formId)
{
    const auto at = std::lower_bound(m_ids.begin(), m_ids.end(), formId);
    const int index = static_cast<int>(at - m_ids.begin());
    if (at == m_ids.end() || *at != formId)
        m_ids.insert(at, formId);
    m_position = index;
}

void RecordSet::Remove(qint64 formId)
{
    const auto found = std::lower_bound(m_ids.begin(), m_ids.end(), formId);
    if (found == m_ids.end() || *found != formId)
        return;
    const int index = static_cast<int>(found - m_ids.begin());
    m_ids.erase(found);
    if (index < m_position)
        --m_position;
}

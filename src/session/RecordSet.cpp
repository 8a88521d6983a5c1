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
    m_ascending = std::is_sorted(m_ids.begin(), m_ids.end());
}

std::optional<qint64> RecordSet::Bookmark() const
{
    if (IsBOF() || IsEOF())
        return std::nullopt;
    return m_ids[static_cast<size_t>(m_position)];
}

std::vector<qint64>::iterator RecordSet::Find(qint64 formId)
{
    if (!m_ascending)
        return std::find(m_ids.begin(), m_ids.end(), formId);
    const auto found = std::lower_bound(m_ids.begin(), m_ids.end(), formId);
    return found != m_ids.end() && *found == formId ? found : m_ids.end();
}

bool RecordSet::Seek(qint64 formId)
{
    const auto found = Find(formId);
    if (found == m_ids.end())
        return false;
    m_position = static_cast<int>(found - m_ids.begin());
    return true;
}

void RecordSet::Add(qint64 formId)
{
    if (Seek(formId))
        return;
    const auto at =
        m_ascending ? std::lower_bound(m_ids.begin(), m_ids.end(), formId) : m_ids.end();
    m_position = static_cast<int>(at - m_ids.begin());
    m_ids.insert(at, formId);
}

void RecordSet::Remove(qint64 formId)
{
    const auto found = Find(formId);
    if (found == m_ids.end())
        return;
    const int index = static_cast<int>(found - m_ids.begin());
    m_ids.erase(found);
    if (index < m_position)
        --m_position;
}

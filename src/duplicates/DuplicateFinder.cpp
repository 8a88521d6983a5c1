#include "duplicates/DuplicateFinder.h"

#include "session/Session.h"
#include "database/RawRecord.h"
#include "database/RecordStream.h"
#include "duplicates/DuplicateKeys.h"
#include "platform/ErrorText.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace {

constexpr char kFieldSeparator = '\x1f';
constexpr char kNameSeparator = '\x1e';

struct Entry {
    uint32_t key;
    qint64 day;
    qint64 formId;
};

// The key of each record read, kept as a number for the key's text: a
// million records cost a few bytes each beside their distinct keys.
class KeyCollector {
public:
    KeyCollector(const DuplicateKeys& keys, const Regional& regional)
        : m_keys(keys), m_regional(regional)
    {
        for (const QString& field : keys.fields)
            m_fields.push_back(field.toUtf8());
        m_parts.resize(m_fields.size());
        m_index.reserve(1 << 16);
    }

    bool Visit(const RawRecord& record)
    {
        if (!MakeKey(record))
            return true;
        qint64 day = 0;
        if (m_keys.withinDays && !DayOf(record.Header(RecordTables::DateColumn), &day))
            return true;
        const auto [at, added] = m_index.try_emplace(m_key, static_cast<uint32_t>(m_texts.size()));
        if (added)
            m_texts.push_back(&at->first);
        m_entries.push_back({at->second, day, record.FormId()});
        return true;
    }

    // The runs of entries that make groups, each as its record numbers.
    std::vector<std::pair<uint32_t, std::vector<qint64>>> Groups()
    {
        // Records are read in record-number order, which the stable sort
        // keeps within a key and a day.
        std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
            return a.key != b.key ? a.key < b.key : a.day < b.day;
        });
        std::vector<std::pair<uint32_t, std::vector<qint64>>> groups;
        std::vector<qint64> run;
        const auto close = [&](uint32_t key) {
            if (run.size() >= 2)
                groups.emplace_back(key, run);
            run.clear();
        };
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& e = m_entries[i];
            if (i > 0) {
                const Entry& before = m_entries[i - 1];
                if (before.key != e.key ||
                    (m_keys.withinDays && e.day - before.day > *m_keys.withinDays))
                    close(before.key);
            }
            run.push_back(e.formId);
        }
        if (!m_entries.empty())
            close(m_entries.back().key);
        for (auto& group : groups)
            std::sort(group.second.begin(), group.second.end());
        std::sort(groups.begin(), groups.end(),
                  [](const auto& a, const auto& b) { return a.second.front() < b.second.front(); });
        return groups;
    }

    QString KeyText(uint32_t key) const
    {
        QString text = QString::fromStdString(*m_texts[key]);
        text.replace(QChar(kFieldSeparator), QStringLiteral(" / "));
        text.replace(QChar(kNameSeparator), QStringLiteral("="));
        return text;
    }

private:
    bool MakeKey(const RawRecord& record)
    {
        m_key.clear();
        if (m_keys.wholeResponse) {
            m_pairs.clear();
            for (int row = 0; row < record.FieldCount(); ++row) {
                std::string pair =
                    ComparedKeyValue(record.Field(row, RecordTables::FieldNameColumn));
                pair += kNameSeparator;
                pair += ComparedKeyValue(record.Field(row, RecordTables::FieldValueColumn));
                m_pairs.push_back(std::move(pair));
            }
            std::sort(m_pairs.begin(), m_pairs.end());
            for (const std::string& pair : m_pairs) {
                if (!m_key.empty())
                    m_key += kFieldSeparator;
                m_key += pair;
            }
            return !m_key.empty();
        }
        for (std::string& part : m_parts)
            part.clear();
        // The first non-blank entry of each key field counts.
        for (int row = 0; row < record.FieldCount(); ++row) {
            const QByteArrayView name = record.Field(row, RecordTables::FieldNameColumn);
            for (size_t i = 0; i < m_fields.size(); ++i) {
                if (m_parts[i].empty() && name.compare(m_fields[i], Qt::CaseInsensitive) == 0)
                    m_parts[i] =
                        ComparedKeyValue(record.Field(row, RecordTables::FieldValueColumn));
            }
        }
        for (const std::string& part : m_parts) {
            if (part.empty())
                return false;
            if (!m_key.empty())
                m_key += kFieldSeparator;
            m_key += part;
        }
        return !m_key.empty();
    }

    bool DayOf(QByteArrayView shown, qint64* day)
    {
        if (shown.isEmpty())
            return false;
        if (shown != QByteArrayView(m_lastDate)) {
            m_lastDate.assign(shown.data(), static_cast<size_t>(shown.size()));
            const std::optional<QDate> date = m_regional.ParseDate(QString::fromUtf8(shown));
            m_lastDay = date ? std::optional<qint64>(date->toJulianDay()) : std::nullopt;
        }
        if (!m_lastDay)
            return false;
        *day = *m_lastDay;
        return true;
    }

    const DuplicateKeys& m_keys;
    const Regional& m_regional;
    std::vector<QByteArray> m_fields;
    std::vector<std::string> m_parts;
    std::vector<std::string> m_pairs;
    std::string m_key;
    std::unordered_map<std::string, uint32_t> m_index;
    std::vector<const std::string*> m_texts;
    std::vector<Entry> m_entries;
    std::string m_lastDate;
    std::optional<qint64> m_lastDay;
};

} // namespace

DuplicateSearch FindDuplicateGroups(Session& session, const DuplicateKeys& keys)
{
    DuplicateSearch search;
    if (!session.Database.CurrentDatabase || !keys.IsSet())
        return search;
    KeyCollector collector(keys, session.RegionalSettings);
    RecordStream stream(session);
    const StreamEnd end = stream.ReadAll(
        RawRecordVisitor([&](const RawRecord& record) { return collector.Visit(record); }));
    if (end == StreamEnd::Failed)
        return search;
    try {
        SQLite::Statement& header = session.Database.CurrentDatabase->Cached(
            "SELECT \"Form_Name\", \"Form_Date\" FROM \"Forms\" WHERE \"FormID\" = ?");
        for (const auto& [key, ids] : collector.Groups()) {
            DuplicateGroup group;
            group.key = collector.KeyText(key);
            for (const qint64 id : ids) {
                header.reset();
                header.bind(1, static_cast<int64_t>(id));
                DuplicateMember member;
                member.formId = id;
                if (header.executeStep()) {
                    member.name = QString::fromUtf8(header.getColumn(0).getText());
                    member.date = QString::fromUtf8(header.getColumn(1).getText()).left(10);
                }
                group.records.push_back(std::move(member));
            }
            search.groups.push_back(std::move(group));
        }
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error finding duplicates: ") + ErrorText(e),
                              MessageIcon::Exclamation);
        return search;
    }
    search.ok = true;
    return search;
}

#include "duplicates/DuplicateFinder.h"

#include "session/Session.h"
#include "database/RawRecord.h"
#include "database/RecordStream.h"
#include "duplicates/DuplicateKeys.h"
#include "duplicates/KeyNumbers.h"
#include <QDate>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>

namespace {

constexpr char kFieldSeparator = '\x1f';
constexpr char kNameSeparator = '\x1e';
// Room made at once for no more records than this.
constexpr qint64 kMostReserved = 4000000;

struct Entry {
    uint32_t key;
    qint64 day;
    qint64 formId;
    size_t header; // where its name and date start in the header texts
};

bool SameName(QByteArrayView name, const QByteArray& wanted)
{
    return name.size() == wanted.size() &&
           (std::memcmp(name.data(), wanted.constData(), static_cast<size_t>(name.size())) == 0 ||
            name.compare(wanted, Qt::CaseInsensitive) == 0);
}

} // namespace

// The key of each record read, kept as a number for the key's text: a
// million records cost a few bytes each beside their distinct keys.
class KeyCollector {
public:
    // records: about how many there are, to make room for them at once.
    KeyCollector(const DuplicateKeys& keys, const Regional& regional, size_t records)
        : m_keys(keys), m_regional(regional), m_numbers(records)
    {
        for (const QString& field : keys.fields)
            m_fields.push_back(field.toUtf8());
        m_parts.resize(m_fields.size());
        m_entries.reserve(records);
    }

    bool Visit(const RawRecord& record)
    {
        if (!MakeKey(record))
            return true;
        const QByteArrayView date = record.Header(RecordTables::DateColumn);
        std::optional<qint64> day;
        if (m_keys.withinDays && !(day = DayOf(date)))
            return true;
        const uint32_t key = m_numbers.NumberOf(m_key);
        // The name and the date go with the record, so the groups need no
        // second read: a few bytes a record.
        m_entries.push_back({key, day.value_or(kNoDay), record.FormId(), m_headers.size()});
        AppendHeaderText(record.Header(RecordTables::NameColumn));
        AppendHeaderText(date);
        return true;
    }

    // The runs of entries that make groups, in the order of their first records.
    std::vector<DuplicateGroup> Groups()
    {
        // Within a key and a day the order does not matter: each group's
        // records are put in record-number order below.
        std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
            return a.key != b.key ? a.key < b.key : a.day < b.day;
        });
        std::vector<DuplicateGroup> groups;
        std::vector<const Entry*> run;
        const auto close = [&](uint32_t key) {
            if (run.size() >= 2) {
                std::sort(run.begin(), run.end(),
                          [](const Entry* a, const Entry* b) { return a->formId < b->formId; });
                DuplicateGroup group;
                group.key = KeyText(key);
                for (const Entry* e : run)
                    group.records.push_back(Member(*e));
                groups.push_back(std::move(group));
            }
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
            run.push_back(&e);
        }
        if (!m_entries.empty())
            close(m_entries.back().key);
        std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
            return a.records.front().formId < b.records.front().formId;
        });
        return groups;
    }

    QString KeyText(uint32_t key) const
    {
        const std::string_view bytes = m_numbers.Key(key);
        QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        text.replace(QChar(kFieldSeparator), QStringLiteral(" / "));
        text.replace(QChar(kNameSeparator), QStringLiteral("="));
        return text;
    }

private:
    static constexpr qint64 kNoDay = std::numeric_limits<qint64>::min();

    DuplicateMember Member(const Entry& e)
    {
        DuplicateMember member;
        member.formId = e.formId;
        size_t at = e.header;
        member.name = QString::fromUtf8(HeaderText(&at));
        // Dates are read for the records of groups alone.
        const std::optional<qint64> day =
            e.day != kNoDay ? std::optional<qint64>(e.day) : DayOf(HeaderText(&at));
        if (day)
            member.date = QDate::fromJulianDay(*day).toString(Qt::ISODate);
        return member;
    }

    void AppendHeaderText(QByteArrayView text)
    {
        const uint32_t size = static_cast<uint32_t>(text.size());
        m_headers.append(reinterpret_cast<const char*>(&size), sizeof size);
        m_headers.append(text.data(), static_cast<size_t>(text.size()));
    }
    // The text at *at, moving *at past it.
    QByteArrayView HeaderText(size_t* at) const
    {
        uint32_t size = 0;
        std::memcpy(&size, m_headers.data() + *at, sizeof size);
        const QByteArrayView text(m_headers.data() + *at + sizeof size,
                                  static_cast<qsizetype>(size));
        *at += sizeof size + size;
        return text;
    }

    bool MakeKey(const RawRecord& record)
    {
        m_key.clear();
        if (m_keys.wholeResponse) {
            m_pairs.clear();
            for (int row = 0; row < record.FieldCount(); ++row) {
                std::string pair;
                AppendComparedKeyValue(record.Field(row, RecordTables::FieldNameColumn), pair);
                pair += kNameSeparator;
                AppendComparedKeyValue(record.Field(row, RecordTables::FieldValueColumn), pair);
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
                if (m_parts[i].empty() && SameName(name, m_fields[i]))
                    AppendComparedKeyValue(record.Field(row, RecordTables::FieldValueColumn),
                                           m_parts[i]);
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

    // Records share their dates, so each date text is read once (a
    // bounded number of them kept).
    std::optional<qint64> DayOf(QByteArrayView shown)
    {
        if (shown.isEmpty())
            return std::nullopt;
        m_dateText.assign(shown.data(), static_cast<size_t>(shown.size()));
        if (const auto known = m_days.find(m_dateText); known != m_days.end())
            return known->second;
        if (m_days.size() >= kDatesKept)
            m_days.clear();
        const std::optional<QDate> date = m_regional.ParseDate(QString::fromUtf8(shown));
        const std::optional<qint64> day =
            date ? std::optional<qint64>(date->toJulianDay()) : std::nullopt;
        m_days.emplace(m_dateText, day);
        return day;
    }

    const DuplicateKeys& m_keys;
    const Regional& m_regional;
    std::vector<QByteArray> m_fields;
    std::vector<std::string> m_parts;
    std::vector<std::string> m_pairs;
    std::string m_key;
    KeyNumbers m_numbers;
    std::vector<Entry> m_entries;
    std::string m_headers;
    static constexpr size_t kDatesKept = 100000;
    std::unordered_map<std::string, std::optional<qint64>> m_days;
    std::string m_dateText;
};

namespace {

// Room for about as many records as the highest record number, read from
// the key's index alone.
size_t ExpectedRecords(Session& session)
{
    size_t records = 0;
    try {
        // The highest record number bounds the count, read from the key's index alone.
        const qint64 last = session.Database.CurrentDatabase->Db()
                                .execAndGet("SELECT max(FormID) FROM Forms")
                                .getInt64();
        records = static_cast<size_t>(std::clamp<qint64>(last, 0, kMostReserved));
    } catch (const std::exception&) {
        // The read reports what is wrong with the file.
    }
    return records;
}

} // namespace

DuplicateCollector::DuplicateCollector(const DuplicateKeys& keys, const Regional& regional,
                                       size_t expected)
    : m_keys(keys), m_collector(std::make_unique<KeyCollector>(m_keys, regional, expected))
{}

DuplicateCollector::~DuplicateCollector() = default;

void DuplicateCollector::Add(const RawRecord& record)
{
    m_collector->Visit(record);
}

bool DuplicateCollector::AddStored(Session& session, qint64 from, qint64 to)
{
    RecordStream stream(session);
    const StreamEnd end = stream.ReadRange(from, to, RawRecordVisitor([&](const RawRecord& record) {
                                               return m_collector->Visit(record);
                                           }));
    return end != StreamEnd::Failed;
}

std::vector<DuplicateGroup> DuplicateCollector::Groups()
{
    return m_collector->Groups();
}

DuplicateSearch FindDuplicateGroups(Session& session, const DuplicateKeys& keys)
{
    DuplicateSearch search;
    if (!session.Database.CurrentDatabase || !keys.IsSet())
        return search;
    DuplicateCollector collector(keys, session.RegionalSettings, ExpectedRecords(session));
    if (!collector.AddStored(session, 1, std::numeric_limits<qint64>::max()))
        return search;
    search.groups = collector.Groups();
    search.ok = true;
    return search;
}

#include "stats/StatisticsCollector.h"

#include "platform/Regional.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void Trimmed(QByteArrayView text, std::string& out)
{
    qsizetype first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    out.assign(text.data() + first, static_cast<size_t>(last - first));
}

} // namespace

StatisticsCollector::StatisticsCollector(const QStringList& fields)
    : m_wanted(fields), m_every(fields.isEmpty())
{
    for (const QString& name : fields) {
        m_fields.emplace_back();
        m_fields.back().name = name;
    }
}

int StatisticsCollector::FieldIndex(QByteArrayView name)
{
    const std::string key(name.data(), static_cast<size_t>(name.size()));
    if (const auto known = m_indexByName.find(key); known != m_indexByName.end())
        return known->second;
    const QString text = QString::fromUtf8(name);
    int index = -1;
    if (m_every) {
        index = static_cast<int>(m_fields.size());
        m_fields.emplace_back();
        m_fields.back().name = text;
    } else {
        for (int i = 0; i < m_wanted.size(); ++i) {
            if (m_wanted[i].compare(text, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
    }
    m_indexByName.emplace(key, index);
    return index;
}

void StatisticsCollector::Record(QByteArrayView storedDate)
{
    ++m_records;
    // Dates are stored as ISO text: the day is its first ten characters.
    const QByteArrayView day = storedDate.first(std::min<qsizetype>(storedDate.size(), 10));
    ++m_dates[std::string(day.data(), static_cast<size_t>(day.size()))];
}

void StatisticsCollector::Entry(qint64 formId, QByteArrayView name, QByteArrayView value)
{
    const int index = FieldIndex(name);
    if (index < 0)
        return;
    Field& field = m_fields[static_cast<size_t>(index)];
    if (field.lastRecord != formId) {
        field.lastRecord = formId;
        field.lastAnswered = false;
        field.lastValues.clear();
        ++field.empty; // until a value is met
    }
    Trimmed(value, m_value);
    if (m_value.empty())
        return;
    if (!field.lastAnswered) {
        field.lastAnswered = true;
        --field.empty;
        ++field.answered;
    }
    // A value given twice in one record counts once.
    if (std::find(field.lastValues.begin(), field.lastValues.end(), m_value) !=
        field.lastValues.end())
        return;
    field.lastValues.push_back(m_value);
    ++field.counts[m_value];
}

std::vector<FieldStatistics> StatisticsCollector::Finish(const Regional& regional) const
{
    std::vector<FieldStatistics> all;
    for (const Field& field : m_fields) {
        FieldStatistics s;
        s.field = field.name;
        s.records = m_records;
        s.answered = field.answered;
        s.empty = field.empty;
        std::vector<std::pair<double, qint64>> numbers;
        qint64 entries = 0, numeric = 0;
        for (const auto& [value, count] : field.counts) {
            s.values.push_back({QString::fromUtf8(value.data(), qsizetype(value.size())), count});
            entries += count;
            if (const std::optional<double> number = regional.ParseNumber(s.values.back().value)) {
                numbers.emplace_back(*number, count);
                numeric += count;
            }
        }
        std::sort(s.values.begin(), s.values.end(), [](const ValueCount& a, const ValueCount& b) {
            return a.count != b.count ? a.count > b.count : a.value < b.value;
        });
        if (entries > 0 && numeric * 10 >= entries * 9) {
            std::sort(numbers.begin(), numbers.end());
            NumericSummary summary;
            summary.min = numbers.front().first;
            summary.max = numbers.back().first;
            double sum = 0;
            for (const auto& [value, count] : numbers)
                sum += value * double(count);
            summary.mean = sum / double(numeric);
            // The middle value, or the mean of the two middle ones.
            const auto at = [&](qint64 position) {
                qint64 seen = 0;
                for (const auto& [value, count] : numbers) {
                    seen += count;
                    if (seen > position)
                        return value;
                }
                return numbers.back().first;
            };
            summary.median =
                numeric % 2 ? at(numeric / 2) : (at(numeric / 2 - 1) + at(numeric / 2)) / 2;
            summary.bins = HistogramOfNumbers(numbers);
            s.numeric = std::move(summary);
        } else if (entries > 0) {
            std::vector<std::pair<QDate, qint64>> days;
            qint64 dated = 0;
            for (const ValueCount& v : s.values) {
                if (const std::optional<QDate> date = regional.ParseDate(v.value)) {
                    days.emplace_back(*date, v.count);
                    dated += v.count;
                }
            }
            if (dated * 10 >= entries * 9)
                s.dates = HistogramOfDates(days);
        }
        all.push_back(std::move(s));
    }
    return all;
}

std::vector<std::pair<QDate, qint64>> StatisticsCollector::RecordDays() const
{
    std::vector<std::pair<QDate, qint64>> days;
    for (const auto& [text, count] : m_dates) {
        const QDate date =
            QDate::fromString(QLatin1StringView(text.data(), qsizetype(text.size())), Qt::ISODate);
        if (date.isValid())
            days.emplace_back(date, count);
    }
    std::sort(days.begin(), days.end());
    return days;
}

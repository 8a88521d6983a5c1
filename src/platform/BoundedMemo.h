#pragma once

#include <QHash>
#include <QString>

// Answers remembered by the text they answer, for questions asked again and
// again about few distinct texts (the dates of records read in a row, the
// fields a template names). When full it starts over, so memory stays
// bounded whatever the input.
template <typename Value> class BoundedMemo {
public:
    // The answer for key, from compute() the first time.
    template <typename Compute> Value Of(const QString& key, Compute compute)
    {
        if (const auto known = m_known.constFind(key); known != m_known.cend())
            return known.value();
        if (m_known.size() >= kLimit)
            m_known.clear();
        return m_known.insert(key, compute()).value();
    }

    void Clear() { m_known.clear(); }

private:
    static constexpr qsizetype kLimit = 4096;
    QHash<QString, Value> m_known;
};

#include "duplicates/KeyNumbers.h"

#include <functional>

KeyNumbers::KeyNumbers(size_t expected)
{
    size_t size = 1024;
    while (size < expected * 2)
        size *= 2;
    m_slots.resize(size);
    m_starts.reserve(expected);
}

uint32_t KeyNumbers::NumberOf(std::string_view key)
{
    const uint64_t hash = std::hash<std::string_view>{}(key);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.number == kEmpty) {
            slot.hash = hash;
            slot.number = static_cast<uint32_t>(m_starts.size());
            m_starts.push_back(m_bytes.size());
            m_bytes.append(key);
            const uint32_t number = slot.number;
            if (m_starts.size() * 2 > m_slots.size())
                Grow();
            return number;
        }
        if (slot.hash == hash && Key(slot.number) == key)
            return slot.number;
    }
}

std::string_view KeyNumbers::Key(uint32_t number) const
{
    const uint64_t start = m_starts[number];
    const uint64_t end = number + 1 < m_starts.size() ? m_starts[number + 1] : m_bytes.size();
    return std::string_view(m_bytes).substr(start, end - start);
}

void KeyNumbers::Grow()
{
    std::vector<Slot> table(m_slots.size() * 2);
    const size_t mask = table.size() - 1;
    for (const Slot& slot : m_slots) {
        if (slot.number == kEmpty)
            continue;
        size_t i = slot.hash & mask;
        while (table[i].number != kEmpty)
            i = (i + 1) & mask;
        table[i] = slot;
    }
    m_slots = std::move(table);
}

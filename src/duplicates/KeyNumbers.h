#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Numbers the distinct keys of many records, 0, 1, 2... in the order first
// seen. The keys' bytes live in one buffer and the table holds numbers
// alone: a million keys cost no allocation each.
class KeyNumbers {
public:
    explicit KeyNumbers(size_t expected = 0);

    // The key's number, new when the key was not seen before.
    uint32_t NumberOf(std::string_view key);
    std::string_view Key(uint32_t number) const;
    size_t Count() const { return m_starts.size(); }

private:
    struct Slot {
        uint64_t hash = 0;
        uint32_t number = kEmpty;
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    void Grow();

    std::vector<Slot> m_slots; // a power of two, at most half full
    std::vector<uint64_t> m_starts;
    std::string m_bytes;
};

#pragma once

#include "platform/Regional.h"

#include <optional>
#include <string>

// What a field's value sorts by in the summary: numbers first, by value,
// then dates by value, then texts ignoring letter case, then records
// without a value. Made once per value, so that sorting compares plain
// numbers and bytes.
struct SummarySortKey {
    enum Class : unsigned char { Number, Text, None };
    Class kind = None;
    double number = 0;
    // A date as "\1" and its ISO text, any other text as "\2" and its
    // case-folded UTF-8 (whose byte order is the order of the folded code
    // points, as the FOLD collation compares them).
    std::string text;

    friend bool operator<(const SummarySortKey& a, const SummarySortKey& b)
    {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.kind == Number ? a.number < b.number : a.text < b.text;
    }
};

// A value of plain digits (most numbers in answers) reads the same in
// every locale: it is taken without building a text.
std::optional<double> PlainInteger(const char* utf8, int length);

// The key of a value given as UTF-8 (null: no value).
SummarySortKey SortKeyOf(const char* utf8, int length, const Regional& regional);

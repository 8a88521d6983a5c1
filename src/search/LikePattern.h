#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <vector>

// A search pattern in the program's wildcard language: "*" any run of
// characters, "?" one character, "#" one digit, "[abc]" or "[a-z]" one
// character of a set and "[!...]" one character outside it. Letter case is
// ignored for all of Unicode: pattern and value are compared case-folded.
class LikePattern {
public:
    // The compiled pattern, or empty with a description in *error when a
    // bracket is not closed or a range runs backwards.
    static std::optional<LikePattern> Compile(QStringView pattern, QString* error = nullptr);

    bool Matches(QStringView value) const;
    // The same test on UTF-8 bytes; values of plain ASCII are matched
    // without converting them.
    bool MatchesUtf8(const char* bytes, qsizetype length) const;

private:
    enum class Kind : unsigned char { Literal, AnyChar, Digit, Star, Class };
    struct Element {
        Kind kind;
        bool negated = false;
        char32_t ch = 0;     // Literal: the folded character
        int classIndex = -1; // Class: index into m_classes
    };
    struct Range {
        char32_t low;
        char32_t high;
    };

    template <typename Source> bool MatchSequence(const Source& text, size_t length) const;
    bool MatchOne(const Element& element, char32_t c) const;

    std::vector<Element> m_elements;
    std::vector<std::vector<Range>> m_classes;
};

// Unicode case folding of one code point and of a text.
char32_t FoldCase(char32_t c);
std::u32string FoldedCodePoints(QStringView text);

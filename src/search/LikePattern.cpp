#include "search/LikePattern.h"

#include "platform/TextCodec.h"

#include <QChar>
#include <QList>

namespace {

const QString kInvalidPattern = QStringLiteral("Invalid pattern string");

inline char32_t FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? char32_t(c + ('a' - 'A')) : char32_t(c);
}

// ASCII bytes seen as folded code points.
struct AsciiSource {
    const unsigned char* bytes;
    char32_t operator[](size_t i) const { return FoldAscii(bytes[i]); }
};

struct CodePointSource {
    const char32_t* points;
    char32_t operator[](size_t i) const { return points[i]; }
};

} // namespace

char32_t FoldCase(char32_t c)
{
    if (c < 128)
        return FoldAscii(static_cast<unsigned char>(c));
    return QChar::toCaseFolded(c);
}

std::u32string FoldedCodePoints(QStringView text)
{
    std::u32string out;
    out.reserve(size_t(text.size()));
    for (const char32_t c : text.toUcs4())
        out.push_back(FoldCase(c));
    return out;
}

std::optional<LikePattern> LikePattern::Compile(QStringView patternText, QString* error)
{
    const std::u32string p = FoldedCodePoints(patternText);
    LikePattern pattern;
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'*') {
            // Runs of stars mean the same as one star.
            if (pattern.m_elements.empty() || pattern.m_elements.back().kind != Kind::Star)
                pattern.m_elements.push_back({Kind::Star});
        } else if (c == U'?') {
            pattern.m_elements.push_back({Kind::AnyChar});
        } else if (c == U'#') {
            pattern.m_elements.push_back({Kind::Digit});
        } else if (c == U'[') {
            size_t j = i + 1;
            bool negated = false;
            if (j < p.size() && p[j] == U'!') {
                negated = true;
                ++j;
            }
            std::vector<Range> ranges;
            bool closed = false;
            while (j < p.size()) {
                if (p[j] == U']') {
                    closed = true;
                    break;
                }
                char32_t low = p[j];
                char32_t high = low;
                if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
                    high = p[j + 2];
                    j += 2;
                    if (high < low) {
                        if (error)
                            *error = kInvalidPattern;
                        return std::nullopt;
                    }
                }
                ranges.push_back({low, high});
                ++j;
            }
            if (!closed) {
                if (error)
                    *error = kInvalidPattern;
                return std::nullopt;
            }
            i = j;
            // "[]" stands for no character at all; "[!]" for any one.
            if (ranges.empty() && !negated)
                continue;
            pattern.m_classes.push_back(std::move(ranges));
            pattern.m_elements.push_back(
                {Kind::Class, negated, 0, int(pattern.m_classes.size()) - 1});
        } else {
            pattern.m_elements.push_back({Kind::Literal, false, c});
        }
    }
    return pattern;
}

bool LikePattern::MatchOne(const Element& element, char32_t c) const
{
    switch (element.kind) {
    case Kind::Literal:
        return c == element.ch;
    case Kind::AnyChar:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::Class: {
        bool inside = false;
        for (const Range& r : m_classes[size_t(element.classIndex)]) {
            if (c >= r.low && c <= r.high) {
                inside = true;
                break;
            }
        }
        return inside != element.negated;
    }
    case Kind::Star:
        break;
    }
    return false;
}

// Every element but the star takes exactly one character, so a star needs
// only the last one remembered for backtracking: linear for one star, at
// worst pattern length times value length.
template <typename Source> bool LikePattern::MatchSequence(const Source& text, size_t length) const
{
    const size_t m = m_elements.size();
    size_t p = 0;
    size_t v = 0;
    size_t starP = size_t(-1);
    size_t starV = 0;
    // With a literal after the star, the star's run can only end where that
    // literal occurs next: skip ahead to it. False when it never occurs.
    const auto skipToLiteral = [&] {
        if (p < m && m_elements[p].kind == Kind::Literal) {
            const char32_t want = m_elements[p].ch;
            while (starV < length && text[starV] != want)
                ++starV;
            if (starV == length)
                return false;
            v = starV;
        }
        return true;
    };
    while (v < length) {
        if (p < m && m_elements[p].kind == Kind::Star) {
            starP = ++p;
            starV = v;
            if (p == m)
                return true; // a trailing star takes the rest
            if (!skipToLiteral())
                return false;
            continue;
        }
        if (p < m && MatchOne(m_elements[p], text[v])) {
            ++p;
            ++v;
            continue;
        }
        if (starP == size_t(-1))
            return false;
        p = starP;
        v = ++starV;
        if (!skipToLiteral())
            return false;
    }
    while (p < m && m_elements[p].kind == Kind::Star)
        ++p;
    return p == m;
}

bool LikePattern::Matches(QStringView value) const
{
    const std::u32string folded = FoldedCodePoints(value);
    return MatchSequence(CodePointSource{folded.data()}, folded.size());
}

bool LikePattern::MatchesUtf8(const char* bytes, qsizetype length) const
{
    if (IsAscii(QByteArrayView(bytes, length)))
        return MatchSequence(AsciiSource{reinterpret_cast<const unsigned char*>(bytes)},
                             size_t(length));
    return Matches(QString::fromUtf8(bytes, length));
}

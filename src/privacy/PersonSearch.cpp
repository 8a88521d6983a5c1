#include "privacy/PersonSearch.h"

#include "platform/DatabaseConnection.h"
#include "search/LikePattern.h"

#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <map>
#include <string>
#include <string_view>

namespace {

bool IsAscii(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAlnum(char32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return QChar::isLetterOrNumber(c);
}

// An address goes on before it when the character before is one an
// address may hold, and after it when the next one is (a dot only when
// more of a domain follows it, not at the end of a sentence).
template <typename Text> bool WholeAddressAt(const Text& text, size_t at, size_t length)
{
    if (at > 0) {
        const char32_t before = static_cast<char32_t>(text[at - 1]);
        if (IsAlnum(before) || before == '.' || before == '_' || before == '%' || before == '+' ||
            before == '-')
            return false;
    }
    const size_t end = at + length;
    if (end < text.size()) {
        const char32_t after = static_cast<char32_t>(text[end]);
        if (IsAlnum(after) || after == '_' || after == '-')
            return false;
        if (after == '.' && end + 1 < text.size() && IsAlnum(static_cast<char32_t>(text[end + 1])))
            return false;
    }
    return true;
}

template <typename View> bool Holds(View text, View needle, bool address)
{
    if (needle.empty())
        return false;
    for (size_t at = text.find(needle); at != View::npos; at = text.find(needle, at + 1)) {
        if (!address || WholeAddressAt(text, at, needle.size()))
            return true;
    }
    return false;
}

// The query folded once, for millions of values.
struct Needle {
    explicit Needle(const PersonQuery& query)
        : folded(FoldedCodePoints(query.text.trimmed())), address(query.address)
    {
        ascii = std::all_of(folded.begin(), folded.end(), [](char32_t c) { return c < 0x80; });
        if (ascii)
            for (const char32_t c : folded)
                lower += static_cast<char>(c);
    }

    bool In(QByteArrayView value)
    {
        if (IsAscii(value)) {
            // A value of plain ASCII folds to its lower case; a query beyond
            // ASCII cannot be in it.
            if (!ascii)
                return false;
            buffer.resize(static_cast<size_t>(value.size()));
            std::transform(value.begin(), value.end(), buffer.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            });
            return Holds(std::string_view(buffer), std::string_view(lower), address);
        }
        const std::u32string text = FoldedCodePoints(QString::fromUtf8(value));
        return Holds(std::u32string_view(text), std::u32string_view(folded), address);
    }

    std::u32string folded;
    std::string lower;
    std::string buffer;
    bool ascii = false;
    bool address = true;
};

QByteArrayView Bytes(const SQLite::Column& column)
{
    return QByteArrayView(static_cast<const char*>(column.getBlob()), column.getBytes());
}

} // namespace

QString PersonQueryProblem(const PersonQuery& query)
{
    const QString text = query.text.trimmed();
    if (text.isEmpty())
        return QStringLiteral("Please enter a search value");
    if (!query.address)
        return {};
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    const bool blank = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
    if (at <= 0 || at != text.lastIndexOf(QLatin1Char('@')) || at == text.size() - 1 || blank)
        return QStringLiteral("'%1' is not an e-mail address").arg(text);
    return {};
}

bool HoldsPerson(QByteArrayView value, const PersonQuery& query)
{
    Needle needle(query);
    return needle.In(value);
}

std::vector<PersonRecord> FindPersonRecords(DatabaseConnection& connection,
                                            const PersonQuery& query)
{
    Needle needle(query);
    std::map<qint64, QStringList> found;
    SQLite::Database& db = connection.Db();
    SQLite::Statement forms(db, "SELECT \"FormID\", \"Form_Name\", \"Form_Notes\" FROM \"Forms\"");
    while (forms.executeStep()) {
        const qint64 id = forms.getColumn(0).getInt64();
        if (needle.In(Bytes(forms.getColumn(1))))
            found[id].append(QStringLiteral("Record Name"));
        if (needle.In(Bytes(forms.getColumn(2))))
            found[id].append(QStringLiteral("Notes"));
    }
    // In stored order, which keeps each record's fields in their order
    // without sorting millions of rows.
    SQLite::Statement data(db, "SELECT \"FormID\", \"Field_Name\", \"Field_Value\" FROM \"Data\"");
    while (data.executeStep()) {
        if (data.getColumn(0).isNull() || !needle.In(Bytes(data.getColumn(2))))
            continue;
        QStringList& where = found[data.getColumn(0).getInt64()];
        const QString name = QString::fromUtf8(Bytes(data.getColumn(1)));
        if (!where.contains(name))
            where.append(name);
    }
    std::vector<PersonRecord> records;
    records.reserve(found.size());
    for (auto& [id, where] : found)
        records.push_back({id, std::move(where)});
    return records;
}

#include "output/DelimitedLine.h"

#include "session/Session.h"
#include "database/RawRecord.h"
#include "output/MarkerEvaluator.h"
#include "session/OutputState.h"
#include "platform/ResponseText.h"

#include <algorithm>
#include <vector>

namespace {

bool IsAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

using Name = DelimitedLineWriter::Name;

// Whether the names are equal once upper-cased. Plain ASCII names are
// compared letter by letter, as most are; the others through their
// upper-case forms, as always.
bool SameName(const Name& a, const Name& b)
{
    if (a.ascii && b.ascii)
        return a.text.size() == b.text.size() &&
               QStringView(a.text).compare(QStringView(b.text), Qt::CaseInsensitive) == 0;
    return a.text.toUpper() == b.text.toUpper();
}

char16_t Unit(QChar c)
{
    return c.unicode();
}
char16_t Unit(char c)
{
    return static_cast<unsigned char>(c);
}

// What a spreadsheet may take for the start of a formula; CR and LF too, as
// a cell beginning with a line break may be read without it.
bool StartsFormula(char16_t c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r' ||
           c == u'\n';
}

// A value that RFC 4180 quoting encloses.
template <typename View> bool NeedsQuotes(View value, View delimiter)
{
    for (const auto c : value) {
        if (Unit(c) == u'"' || Unit(c) == u'\r' || Unit(c) == u'\n')
            return true;
    }
    return value.contains(delimiter);
}

// Calls protect(at), in order, for every place of the value where a
// spreadsheet starts reading a cell that begins like a formula. A value in
// quotes it cannot leave is one cell, begun at its start. Any other is split
// where a spreadsheet splits lines and cells: after each line break (CR LF,
// a lone CR or a lone LF) that the line keeps and after each delimiter,
// where a quote may open a quoted cell first, as at the start of a value
// not enclosed.
template <typename View, typename Protect>
void ForEachFormulaStart(View value, View delimiter, bool enclosed, bool oneCell,
                         bool lineBreaksKept, const Protect& protect)
{
    const qsizetype size = value.size();
    qsizetype last = -1;
    const auto check = [&](qsizetype at, bool quoteOpens) {
        if (quoteOpens && at < size && Unit(value[at]) == u'"')
            ++at;
        if (at < size && at > last && StartsFormula(Unit(value[at]))) {
            protect(at);
            last = at;
        }
    };
    check(0, !enclosed);
    if (oneCell)
        return;
    for (qsizetype i = 0; i < size;) {
        const char16_t c = Unit(value[i]);
        qsizetype start = -1;
        if (c == u'\n' || (c == u'\r' && (i + 1 == size || Unit(value[i + 1]) != u'\n'))) {
            if (lineBreaksKept)
                start = i + 1;
        } else if (!delimiter.isEmpty() && c == Unit(delimiter[0]) &&
                   value.sliced(i).startsWith(delimiter)) {
            start = i + delimiter.size();
        }
        if (start < 0) {
            ++i;
            continue;
        }
        check(start, true);
        i = start;
    }
}

// "Remove line breaks" on a whole line: every line break, CR LF, a lone CR
// or a lone LF, is removed at the line's ends and becomes one blank inside.
template <typename Text> void JoinLineBreaks(Text& text, typename Text::value_type blank)
{
    const auto isBreak = [&](qsizetype i) {
        return Unit(text[i]) == u'\r' || Unit(text[i]) == u'\n';
    };
    qsizetype start = 0;
    qsizetype end = static_cast<qsizetype>(text.size());
    while (start < end && isBreak(start))
        ++start;
    while (end > start && isBreak(end - 1))
        --end;
    qsizetype out = 0;
    for (qsizetype in = start; in < end; ++in) {
        if (!isBreak(in)) {
            text[out++] = text[in];
            continue;
        }
        if (Unit(text[in]) == u'\r' && Unit(text[in + 1]) == u'\n')
            ++in; // the line's last character is no break: text[in + 1] is inside
        text[out++] = blank;
    }
    text.resize(out);
}

} // namespace

QString DelimiterFromName(const QString& boxText)
{
    const QString name = TrimBlanks(boxText).toUpper();
    if (name == QStringLiteral("COMMA"))
        return QStringLiteral(",");
    if (name == QStringLiteral("SEMI-COLON"))
        return QStringLiteral(";");
    if (name == QStringLiteral("TAB"))
        return QStringLiteral("\t");
    if (name == QStringLiteral("SPACE"))
        return QStringLiteral(" ");
    return boxText;
}

QString DelimitedCell(QString value, const DelimitedOptions& options, const QString& delimiter)
{
    if (options.replaceQuotes)
        value.replace(QLatin1Char('"'), QLatin1Char('\''));
    bool enclose = options.useQuotes || (options.rfc4180Quoting &&
                                         NeedsQuotes(QStringView(value), QStringView(delimiter)));
    if (options.protectFormulas && !value.isEmpty()) {
        const bool oneCell = enclose && (options.rfc4180Quoting || !value.contains(u'"'));
        QString protectedValue;
        qsizetype from = 0;
        ForEachFormulaStart(QStringView(value), QStringView(delimiter), enclose, oneCell,
                            !options.removeLineBreaks, [&](qsizetype at) {
                                protectedValue += QStringView(value).sliced(from, at - from);
                                protectedValue += QLatin1Char('\'');
                                from = at;
                            });
        if (!protectedValue.isEmpty()) {
            protectedValue += QStringView(value).sliced(from);
            value = std::move(protectedValue);
            // An apostrophe delimiter the protection added is quoted too.
            enclose = enclose || (options.rfc4180Quoting && value.contains(delimiter));
        }
    }
    if (enclose && options.rfc4180Quoting)
        value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    if (enclose)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

void BuildDelimitedHeader(Session& session, const DelimitedOptions& options,
                          const QString& delimiter)
{
    OutputState& state = session.Output;
    QString line;
    bool first = true;
    for (const OutputField& entry : std::as_const(state.OutputFieldList)) {
        if (!entry.PrintStat)
            continue;
        if (!first)
            line += delimiter;
        first = false;
        line += DelimitedCell(entry.Label.isEmpty() ? entry.Key : entry.Label, options, delimiter);
    }
    if (options.removeLineBreaks)
        JoinLineBreaks(line, QLatin1Char(' '));
    state.OutputText = line;
}

bool BuildDelimitedLine(Session& session, bool useQuotes, bool removeLineBreaks, bool replaceQuotes,
                        const QString& delimiter)
{
    DelimitedOptions options;
    options.useQuotes = useQuotes;
    options.removeLineBreaks = removeLineBreaks;
    options.replaceQuotes = replaceQuotes;
    return BuildDelimitedLine(session, options, delimiter);
}

bool BuildDelimitedLine(Session& session, const DelimitedOptions& options, const QString& delimiter)
{
    RowCursorGuard cursors(session.Tables);
    DelimitedLineWriter(session.Output, options, delimiter)
        .Write(session.Tables, session.Output.OutputText);
    return true;
}

DelimitedLineWriter::Name::Name(const QString& name) : text(name.trimmed()), ascii(IsAscii(text)) {}

DelimitedLineWriter::DelimitedLineWriter(const OutputState& state, const DelimitedOptions& options,
                                         const QString& delimiter)
    : m_options(options), m_delimiter(delimiter), m_delimiterBytes(delimiter.toStdString())
{
    m_writesBytes = !delimiter.isEmpty() && QString::fromStdString(m_delimiterBytes) == delimiter;
    for (int i = 0; i < state.OutputFieldList.size(); ++i) {
        const OutputField& entry = state.OutputFieldList[i];
        if (!entry.PrintStat)
            continue;
        Column column;
        column.header = i < state.HeaderFieldCount;
        if (column.header) {
            const qsizetype dot = entry.Key.indexOf(QLatin1Char('.'));
            column.headerColumn = dot < 0 ? -1 : entry.Key.mid(dot + 1).trimmed().toInt();
        } else {
            column.key = Name(entry.Key);
        }
        m_columns.push_back(std::move(column));
    }
}

void DelimitedLineWriter::Write(const RecordTables& tables, QString& line)
{
    line.resize(0); // keeps its room for the next record's line
    const int rows = tables.RowCount[RecordTables::kFieldTable];
    if (static_cast<int>(m_rows.size()) < rows)
        m_rows.resize(static_cast<size_t>(rows));
    bool namesChanged = rows != m_rowCount;
    for (int row = 0; row < rows; ++row) {
        Row& kept = m_rows[static_cast<size_t>(row)];
        const QString raw = tables.Field(row, RecordTables::FieldNameColumn);
        if (raw != kept.raw) {
            kept.name = Name(raw);
            kept.raw = raw;
            namesChanged = true;
        }
    }
    // Records of one form name their fields alike: the columns are matched
    // to rows again only when the names differ from the record before's.
    if (namesChanged)
        MatchColumns(rows);
    bool first = true;
    for (const Column& column : m_columns) {
        QString value;
        if (column.header) {
            if (tables.IsColumnInRange(RecordTables::kHeaderTable, column.headerColumn))
                value = tables.Header(column.headerColumn);
        } else if (column.row >= 0) {
            value = tables.Field(column.row, RecordTables::FieldValueColumn);
        }
        if (!first)
            line += m_delimiter;
        first = false;
        line += DelimitedCell(std::move(value), m_options, m_delimiter);
    }
    if (m_options.removeLineBreaks)
        JoinLineBreaks(line, QLatin1Char(' '));
}

void DelimitedLineWriter::MatchColumns(int rows)
{
    m_rowCount = rows;
    for (Column& column : m_columns) {
        column.row = -1;
        if (column.header)
            continue;
        // With several rows of that name the last one counts.
        for (int row = rows - 1; row >= 0; --row) {
            if (SameName(m_rows[static_cast<size_t>(row)].name, column.key)) {
                column.row = row;
                break;
            }
        }
    }
}

// DelimitedCell on UTF-8: every character it looks for or adds is ASCII,
// and a valid UTF-8 text holds the delimiter's bytes exactly where its
// text holds the delimiter.
void DelimitedLineWriter::AppendCell(std::string& line, QByteArrayView value)
{
    if (m_options.replaceQuotes && value.contains('"')) {
        m_cell.assign(value.data(), static_cast<size_t>(value.size()));
        std::replace(m_cell.begin(), m_cell.end(), '"', '\'');
        value = m_cell;
    }
    bool enclose = m_options.useQuotes || (m_options.rfc4180Quoting &&
                                           NeedsQuotes(value, QByteArrayView(m_delimiterBytes)));
    if (m_options.protectFormulas && !value.isEmpty()) {
        const bool oneCell = enclose && (m_options.rfc4180Quoting || !value.contains('"'));
        m_protected.clear();
        qsizetype from = 0;
        ForEachFormulaStart(value, QByteArrayView(m_delimiterBytes), enclose, oneCell,
                            !m_options.removeLineBreaks, [&](qsizetype at) {
                                m_protected.append(value.data() + from,
                                                   static_cast<size_t>(at - from));
                                m_protected.push_back('\'');
                                from = at;
                            });
        if (!m_protected.empty()) {
            m_protected.append(value.data() + from, static_cast<size_t>(value.size() - from));
            value = m_protected;
            enclose = enclose || (m_options.rfc4180Quoting &&
                                  value.contains(QByteArrayView(m_delimiterBytes)));
        }
    }
    const bool doubleQuotes = enclose && m_options.rfc4180Quoting;
    if (enclose)
        line.push_back('"');
    if (doubleQuotes && value.contains('"')) {
        for (const char c : value) {
            if (c == '"')
                line.push_back('"');
            line.push_back(c);
        }
    } else {
        line.append(value.data(), static_cast<size_t>(value.size()));
    }
    if (enclose)
        line.push_back('"');
}

void DelimitedLineWriter::Write(const RawRecord& record, std::string& line)
{
    line.clear(); // keeps its room for the next record's line
    const int rows = record.FieldCount();
    if (static_cast<int>(m_rows.size()) < rows)
        m_rows.resize(static_cast<size_t>(rows));
    if (static_cast<int>(m_rawNames.size()) < rows)
        m_rawNames.resize(static_cast<size_t>(rows));
    bool namesChanged = rows != m_rowCount;
    for (int row = 0; row < rows; ++row) {
        const QByteArrayView stored = record.Field(row, RecordTables::FieldNameColumn);
        std::string& kept = m_rawNames[static_cast<size_t>(row)];
        if (QByteArrayView(kept) != stored) {
            kept.assign(stored.data(), static_cast<size_t>(stored.size()));
            const QString name = RawRecord::TextOf(stored);
            m_rows[static_cast<size_t>(row)] = Row{name, Name(name)};
            namesChanged = true;
        }
    }
    if (namesChanged)
        MatchColumns(rows);
    bool first = true;
    for (const Column& column : m_columns) {
        QByteArrayView value;
        if (column.header)
            value = record.Header(column.headerColumn);
        else if (column.row >= 0)
            value = record.Field(column.row, RecordTables::FieldValueColumn);
        if (!first)
            line += m_delimiterBytes;
        first = false;
        AppendCell(line, value);
    }
    if (m_options.removeLineBreaks)
        JoinLineBreaks(line, ' ');
}

#include "output/DelimitedLine.h"

#include "app/Session.h"
#include "database/RawRecord.h"
#include "output/MarkerEvaluator.h"
#include "output/OutputState.h"
#include "responses/ResponseText.h"

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
    if (options.protectFormulas && !value.isEmpty()) {
        const QChar first = value[0];
        if (first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-') ||
            first == QLatin1Char('@') || first == QLatin1Char('\t'))
            value.prepend(QLatin1Char('\''));
    }
    bool enclose = options.useQuotes;
    if (options.rfc4180Quoting) {
        if (!enclose)
            enclose = value.contains(delimiter) || value.contains(QLatin1Char('"')) ||
                      value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
        if (enclose)
            value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    }
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
    state.OutputText = options.removeLineBreaks ? RemoveCRLF(true, line) : line;
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
        line = RemoveCRLF(true, line);
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
    if (m_options.protectFormulas && !value.isEmpty()) {
        const char first = value.front();
        if (first == '=' || first == '+' || first == '-' || first == '@' || first == '\t') {
            std::string protectedValue(1, '\'');
            protectedValue.append(value.data(), static_cast<size_t>(value.size()));
            m_cell = std::move(protectedValue);
            value = m_cell;
        }
    }
    bool enclose = m_options.useQuotes;
    if (m_options.rfc4180Quoting && !enclose)
        enclose = value.contains(m_delimiterBytes) || value.contains('"') || value.contains('\r') ||
                  value.contains('\n');
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
        RemoveCRLF(true, line);
}

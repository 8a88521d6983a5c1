#pragma once

#include <QByteArrayView>
#include <QString>
#include <string>
#include <vector>

class Session;
class RawRecord;
class RecordTables;
struct OutputState;

// The delimiter a delimiter box text stands for: "Comma", "Semi-Colon",
// "Tab" and "Space" (in any letter case, blanks around ignored) give ",",
// ";", tab and blank; any other text is used exactly as typed.
QString DelimiterFromName(const QString& boxText);

// How the cells of a delimited line are written, beyond the delimiter.
struct DelimitedOptions {
    bool useQuotes = false; // every value enclosed in double quotes
    // The line's line breaks (CR LF, a lone CR or LF) removed at its ends and
    // joined into blanks inside.
    bool removeLineBreaks = false;
    bool replaceQuotes = false; // double quotes in values become single quotes
    // "Protect spreadsheet formulas": an apostrophe wherever a spreadsheet
    // would start a cell with =, +, -, @, a tab, CR or LF, so it shows the
    // text instead of running it: at the start of a value, and in a value
    // not enclosed in quotes it cannot leave also after each line break the
    // line keeps and each delimiter (after a quote that would open a cell
    // there).
    bool protectFormulas = false;
    // "RFC 4180 quoting": a value holding the delimiter, a double quote, CR
    // or LF is enclosed in double quotes with its quotes doubled (with
    // useQuotes every value is enclosed and has its quotes doubled).
    bool rfc4180Quoting = false;
    // "Field names as the first line": the output fields' names, written
    // like the values, before the first record.
    bool fieldNamesFirstLine = false;
};

// One value as a cell of a delimited line under the options (the
// line-break removal is the line's, not the cell's).
QString DelimitedCell(QString value, const DelimitedOptions& options, const QString& delimiter);

// One line of the selected fields of the record in session.Tables, header
// entries first, separated by delimiter, left in session.Output.OutputText.
// Values are written as stored: no date reformatting and no escaping beyond
// the options.
bool BuildDelimitedLine(Session& session, bool useQuotes, bool removeLineBreaks, bool replaceQuotes,
                        const QString& delimiter);
bool BuildDelimitedLine(Session& session, const DelimitedOptions& options,
                        const QString& delimiter);

// The delimited lines of one run. The output fields are looked at once, and
// a record's field names are prepared again only where they differ from the
// record before's, so a long export costs about what its values cost.
//
// A writer serves records of one kind: those in the tables, or those read
// raw.
class DelimitedLineWriter {
public:
    DelimitedLineWriter(const OutputState& state, const DelimitedOptions& options,
                        const QString& delimiter);
    // The line of the record in tables, as BuildDelimitedLine writes it.
    void Write(const RecordTables& tables, QString& line);

    // Whether Write for a raw record gives that line's UTF-8 byte for byte:
    // true unless the delimiter is empty or cannot be written in UTF-8 as
    // it stands (half of a surrogate pair).
    bool WritesBytes() const { return m_writesBytes; }
    // The line of a record read raw, in UTF-8; only when WritesBytes().
    void Write(const RawRecord& record, std::string& line);

    // A field name trimmed, and whether it is plain ASCII (compared letter by
    // letter; others through their upper-case forms).
    struct Name {
        QString text;
        bool ascii = true;
        Name() = default;
        explicit Name(const QString& name);
    };

private:
    struct Column {
        int headerColumn = -1; // a header entry's column, -1 for none
        bool header = false;
        Name key;
        int row = -1; // the entry row holding the field, for the names in m_rows
    };
    struct Row {
        QString raw;
        Name name;
    };
    // Matches the columns to the names in m_rows.
    void MatchColumns(int rows);
    void AppendCell(std::string& line, QByteArrayView value);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    std::vector<std::string> m_rawNames; // a raw record's names, as stored
    int m_rowCount = -1;                 // the rows the columns' matches were made for
    DelimitedOptions m_options;
    QString m_delimiter;
    std::string m_delimiterBytes;
    bool m_writesBytes = false;
    std::string m_cell;      // a value being changed before it is written
    std::string m_protected; // the value with its formula starts protected
};

// The names of the selected fields (their labels, in output order) as one
// line written like the values, left in session.Output.OutputText.
void BuildDelimitedHeader(Session& session, const DelimitedOptions& options,
                          const QString& delimiter);

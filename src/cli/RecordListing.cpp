#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/RecordJson.h"
#include "cli/RecordListing.h"
#include "database/RawRecord.h"
#include "database/RecordStream.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Appends text on one line: each line break (CR LF, CR or LF) and tab
// becomes a blank.
void AppendOneLine(std::string& line, QByteArrayView text)
{
    // Most texts hold no control character at all.
    const auto control = std::find_if(text.begin(), text.end(),
                                      [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    line.append(text.data(), static_cast<size_t>(control - text.begin()));
    for (qsizetype i = control - text.begin(); i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            line.push_back(' ');
            ++i;
        } else {
            line.push_back(c == '\n' || c == '\r' || c == '\t' ? ' ' : c);
        }
    }
}

} // namespace

// Written from the stored bytes of each record's header: the lines, or the
// JSON array, that the record tables' texts give, in UTF-8, without a text
// for every cell.
bool PrintSummaryRecords(CliContext& context, bool json, const QStringList& fields)
{
    std::vector<QByteArray> names;
    for (const QString& field : fields)
        names.push_back(field.toUtf8());
    std::vector<qsizetype> firstRows(names.size());
    // The row of each field's first value in record, or -1; field names
    // compare ignoring letter case.
    const auto findFields = [&](const RawRecord& record) {
        std::fill(firstRows.begin(), firstRows.end(), -1);
        for (int row = 0; row < record.FieldCount(); ++row) {
            const QByteArrayView name = record.Field(row, 1);
            for (size_t i = 0; i < names.size(); ++i)
                if (firstRows[i] < 0 && name.size() == names[i].size() &&
                    qstrnicmp(name.data(), names[i].constData(), name.size()) == 0)
                    firstRows[i] = row;
        }
    };
    Session& session = context.session;
    DatabaseState& d = session.Database;
    IsoDates dates(session.RegionalSettings);
    std::string lines = json ? "[" : "";
    bool first = true;
    const RawRecordVisitor print = [&](const RawRecord& record) {
        using R = RecordTables;
        if (json) {
            lines += first ? "\n  " : ",\n  ";
            AppendRecordJson(lines, record, dates);
            if (!names.empty()) {
                findFields(record);
                lines.pop_back(); // the object goes on
                lines += ", \"columns\": {";
                for (size_t i = 0; i < names.size(); ++i) {
                    lines += i == 0 ? "" : ", ";
                    AppendJsonString(lines, names[i]);
                    lines += ": ";
                    if (firstRows[i] < 0)
                        lines += "null";
                    else
                        AppendJsonString(lines, record.Field(int(firstRows[i]), 2));
                }
                lines += "}}";
            }
        } else {
            const QByteArrayView id = record.Header(R::FormIdColumn);
            lines.append(id.data(), static_cast<size_t>(id.size()));
            lines.push_back('\t');
            lines += dates.Of(record.Header(R::DateColumn));
            lines.push_back('\t');
            AppendOneLine(lines, record.Header(R::NameColumn));
            lines.push_back('\t');
            AppendOneLine(lines, record.Header(R::SourceColumn));
            if (!names.empty()) {
                findFields(record);
                for (const qsizetype row : firstRows) {
                    lines.push_back('\t');
                    if (row >= 0)
                        AppendOneLine(lines, record.Field(int(row), 2));
                }
            }
            lines.push_back('\n');
        }
        first = false;
        if (lines.size() >= 65536) {
            std::fwrite(lines.data(), 1, lines.size(), stdout);
            lines.clear();
        }
        return true;
    };
    context.out.flush();
    // Without field columns only the headers are printed, and the fields
    // are not read. The whole
    // database is read by FormID without listing it first.
    RecordStream stream(session,
                        names.empty() ? RecordParts::HeaderOnly : RecordParts::HeaderAndFields);
    const StreamEnd end = d.SummaryFiltered || d.ListRecordsOnOpen
                              ? stream.ReadList(d.SummaryRecords.Ids(), print)
                              : stream.ReadAll(print);
    if (json && end != StreamEnd::Failed)
        lines += first ? "]\n" : "\n]\n";
    std::fwrite(lines.data(), 1, lines.size(), stdout);
    std::fflush(stdout);
    return end != StreamEnd::Failed;
}

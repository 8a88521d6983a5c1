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
bool PrintSummaryRecords(CliContext& context, bool json)
{
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
        } else {
            const QByteArrayView id = record.Header(R::FormIdColumn);
            lines.append(id.data(), static_cast<size_t>(id.size()));
            lines.push_back('\t');
            lines += dates.Of(record.Header(R::DateColumn));
            lines.push_back('\t');
            AppendOneLine(lines, record.Header(R::NameColumn));
            lines.push_back('\t');
            AppendOneLine(lines, record.Header(R::SourceColumn));
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
    // Only the headers are printed, so the fields are not read. The whole
    // database is read by FormID without listing it first.
    RecordStream stream(session, RecordParts::HeaderOnly);
    const StreamEnd end = d.SummaryFiltered || d.ListRecordsOnOpen
                              ? stream.ReadList(d.SummaryRecords.Ids(), print)
                              : stream.ReadAll(print);
    if (json && end != StreamEnd::Failed)
        lines += first ? "]\n" : "\n]\n";
    std::fwrite(lines.data(), 1, lines.size(), stdout);
    std::fflush(stdout);
    return end != StreamEnd::Failed;
}

#include "app/Session.h"
#include "cli/CliContext.h"
#include "cli/RecordJson.h"
#include "cli/RecordListing.h"
#include "database/RawRecord.h"
#include "database/RecordStream.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

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

// The plain listing written from the stored bytes: the lines the record
// tables' texts give, in UTF-8, without a text for every cell.
StreamEnd PrintRawLines(CliContext& context)
{
    Session& session = context.session;
    DatabaseState& d = session.Database;
    // Records share most of their dates: each date text is turned into
    // ISO 8601 once, in bounded memory.
    constexpr size_t kDates = 4096;
    std::unordered_map<std::string, std::string> isoDates;
    std::string key;
    std::string lines;
    const RawRecordVisitor print = [&](const RawRecord& record) {
        using R = RecordTables;
        const QByteArrayView date = record.Header(R::DateColumn);
        key.assign(date.data(), static_cast<size_t>(date.size()));
        auto iso = isoDates.find(key);
        if (iso == isoDates.end()) {
            if (isoDates.size() >= kDates)
                isoDates.clear();
            iso = isoDates
                      .emplace(
                          key,
                          IsoDate(RawRecord::TextOf(date), session.RegionalSettings).toStdString())
                      .first;
        }
        const QByteArrayView id = record.Header(R::FormIdColumn);
        lines.append(id.data(), static_cast<size_t>(id.size()));
        lines.push_back('\t');
        lines += iso->second;
        lines.push_back('\t');
        AppendOneLine(lines, record.Header(R::NameColumn));
        lines.push_back('\t');
        AppendOneLine(lines, record.Header(R::SourceColumn));
        lines.push_back('\n');
        if (lines.size() >= 65536) {
            std::fwrite(lines.data(), 1, lines.size(), stdout);
            lines.clear();
        }
        return true;
    };
    context.out.flush();
    RecordStream stream(session, RecordParts::HeaderOnly);
    const StreamEnd end = d.SummaryFiltered || d.ListRecordsOnOpen
                              ? stream.ReadList(d.SummaryRecords.Ids(), print)
                              : stream.ReadAll(print);
    std::fwrite(lines.data(), 1, lines.size(), stdout);
    std::fflush(stdout);
    return end;
}

} // namespace

bool PrintSummaryRecords(CliContext& context, bool json)
{
    if (!json)
        return PrintRawLines(context) != StreamEnd::Failed;
    Session& session = context.session;
    DatabaseState& d = session.Database;
    context.out << "[";
    bool first = true;
    IsoDates dates(session.RegionalSettings);
    // Lines are gathered and handed to the stream in large pieces.
    QString lines;
    const auto print = [&](qint64) {
        lines += first ? QStringLiteral("\n  ") : QStringLiteral(",\n  ");
        lines += RecordJson(session.Tables, dates, false);
        first = false;
        if (lines.size() >= 32768) {
            context.out << lines;
            lines.clear();
        }
        return true;
    };
    // Only the headers are printed, so the fields are not read. The whole
    // database is read by FormID without listing it first.
    RecordStream stream(session, RecordParts::HeaderOnly);
    const StreamEnd end = d.SummaryFiltered || d.ListRecordsOnOpen
                              ? stream.ReadList(d.SummaryRecords.Ids(), print)
                              : stream.ReadAll(print);
    context.out << lines;
    if (end == StreamEnd::Failed) {
        context.out.flush();
        return false;
    }
    context.out << (first ? "]\n" : "\n]\n");
    context.out.flush();
    return true;
}

// GLib's headers use names that Qt defines as macros: GMime comes first.
#include <gmime/gmime.h>

#include "responses/MailReader.h"

#include "platform/TextCodec.h"
#include "responses/GMimeInit.h"
#include "responses/HtmlText.h"
#include "responses/MailBodyLines.h"
#include "responses/MessageHash.h"
#include "responses/MessageStarts.h"

#include <QFile>
#include <QTimeZone>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <vector>

namespace {

constexpr gsize kChunk = 64 * 1024;

struct Unref {
    void operator()(gpointer object) const
    {
        if (object)
            g_object_unref(object);
    }
};
using StreamPtr = std::unique_ptr<GMimeStream, Unref>;
using ParserPtr = std::unique_ptr<GMimeParser, Unref>;
using MessagePtr = std::unique_ptr<GMimeMessage, Unref>;

// Turns a CR alone into LF, the line end GMime reads; CR LF stays. The
// length never changes, so offsets in the file hold for what it gives.
struct CrLinesFilter {
    GMimeFilter parent;
};
struct CrLinesFilterClass {
    GMimeFilterClass parent;
};

GType cr_lines_filter_get_type();
G_DEFINE_TYPE(CrLinesFilter, cr_lines_filter, GMIME_TYPE_FILTER)

GMimeFilter* NewCrLinesFilter()
{
    return GMIME_FILTER(g_object_new(cr_lines_filter_get_type(), nullptr));
}

void CrLines(GMimeFilter* filter, char* in, size_t length, size_t prespace, char** out,
             size_t* outLength, size_t* outPrespace, bool last)
{
    size_t kept = length;
    for (size_t i = 0; i < length; ++i) {
        if (in[i] != '\r')
            continue;
        if (i + 1 < length) {
            if (in[i + 1] != '\n')
                in[i] = '\n';
        } else if (last) {
            in[i] = '\n';
        } else {
            // Whether an LF follows shows only in the next piece.
            g_mime_filter_backup(filter, in + i, 1);
            kept = i;
        }
    }
    *out = in;
    *outLength = kept;
    *outPrespace = prespace;
}

void cr_lines_filter_class_init(CrLinesFilterClass* klass)
{
    GMimeFilterClass* filter = GMIME_FILTER_CLASS(klass);
    filter->copy = [](GMimeFilter*) { return NewCrLinesFilter(); };
    filter->filter = [](GMimeFilter* f, char* in, size_t n, size_t pre, char** out, size_t* outN,
                        size_t* outPre) { CrLines(f, in, n, pre, out, outN, outPre, false); };
    filter->complete = [](GMimeFilter* f, char* in, size_t n, size_t pre, char** out, size_t* outN,
                          size_t* outPre) { CrLines(f, in, n, pre, out, outN, outPre, true); };
    filter->reset = [](GMimeFilter*) {};
}

void cr_lines_filter_init(CrLinesFilter*) {}

// The charset to convert a part from, or nullptr to pass its bytes on as
// they are: text in UTF-8, in ASCII or in no declared charset is read by
// the program's own rule (UTF-8 when valid, else Windows-1252) value by
// value.
const char* SourceCharset(const char* declared)
{
    if (!declared || !*declared)
        return nullptr;
    const char* name = g_mime_charset_canon_name(declared);
    if (!g_ascii_strcasecmp(name, "utf-8") || !g_ascii_strcasecmp(name, "utf8") ||
        !g_ascii_strcasecmp(name, "us-ascii") || !g_ascii_strcasecmp(name, "ascii"))
        return nullptr;
    // Mail that says Latin-1 is mostly Windows-1252: the same letters, and
    // the quotes and dashes of 0x80-0x9F instead of unused controls.
    if (!g_ascii_strcasecmp(name, "iso-8859-1"))
        return "windows-1252";
    return name;
}

bool IsTransferEncoded(GMimeContentEncoding encoding)
{
    return encoding == GMIME_CONTENT_ENCODING_BASE64 ||
           encoding == GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE ||
           encoding == GMIME_CONTENT_ENCODING_UUENCODE;
}

// The part's content with its transfer encoding undone and, where a charset
// is declared, converted to UTF-8. converted tells whether it was.
StreamPtr DecodedStream(GMimePart* part, bool textIsUnicode, bool* converted)
{
    *converted = false;
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (!content)
        return nullptr;
    GMimeStream* raw = g_mime_data_wrapper_get_stream(content);
    if (!raw)
        return nullptr;
    const GMimeContentEncoding encoding = g_mime_data_wrapper_get_encoding(content);
    GMimeFilter* convert = nullptr;
    if (!textIsUnicode || IsTransferEncoded(encoding)) {
        const char* charset =
            SourceCharset(g_mime_object_get_content_type_parameter(GMIME_OBJECT(part), "charset"));
        if (charset)
            convert = g_mime_filter_charset_new(charset, "UTF-8");
    }
    // Nothing else reads the content of a message already parsed.
    g_mime_stream_reset(raw);
    StreamPtr own(GMIME_STREAM(g_object_ref(raw)));
    if (!convert && !IsTransferEncoded(encoding))
        return own;
    StreamPtr filtered(g_mime_stream_filter_new(own.get()));
    auto* filter = GMIME_STREAM_FILTER(filtered.get());
    if (IsTransferEncoded(encoding)) {
        GMimeFilter* decoder = g_mime_filter_basic_new(encoding, FALSE);
        g_mime_stream_filter_add(filter, decoder);
        g_object_unref(decoder);
    }
    if (convert) {
        g_mime_stream_filter_add(filter, convert);
        g_object_unref(convert);
        *converted = true;
    }
    return filtered;
}

QByteArray ReadAll(GMimeStream* stream)
{
    QByteArray all;
    char buffer[kChunk];
    for (;;) {
        const ssize_t n = g_mime_stream_read(stream, buffer, sizeof buffer);
        if (n > 0)
            all.append(buffer, n);
        else if (n < 0 || g_mime_stream_eos(stream))
            break;
    }
    return all;
}

bool ParameterIs(GMimeObject* object, const char* name, const char* value)
{
    const char* parameter = g_mime_object_get_content_type_parameter(object, name);
    return parameter && !g_ascii_strcasecmp(parameter, value);
}

// The parts that carry the message's text, in order; attachments (by
// disposition or by a file name) and attached messages are left out.
void CollectTextParts(GMimeObject* object, std::vector<GMimePart*>& plain,
                      std::vector<GMimePart*>& html)
{
    if (GMIME_IS_MULTIPART_ENCRYPTED(object))
        return;
    if (GMIME_IS_MULTIPART(object)) {
        auto* multipart = GMIME_MULTIPART(object);
        const int count = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < count; ++i)
            CollectTextParts(g_mime_multipart_get_part(multipart, i), plain, html);
        return;
    }
    if (!GMIME_IS_PART(object))
        return;
    auto* part = GMIME_PART(object);
    if (g_mime_part_is_attachment(part) || g_mime_part_get_filename(part))
        return;
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!type)
        return;
    // A browser's own form post, saved as a message, is a body too, and so
    // is a form service's JSON object.
    if (g_mime_content_type_is_type(type, "text", "plain") ||
        g_mime_content_type_is_type(type, "application", "x-www-form-urlencoded") ||
        g_mime_content_type_is_type(type, "application", "json"))
        plain.push_back(part);
    else if (g_mime_content_type_is_type(type, "text", "html"))
        html.push_back(part);
}

// One piece of a message's text: a stream read as it goes, or text ready.
struct Segment {
    StreamPtr stream;
    QByteArray text;
    MailBodyLines::Options lines;
};

// A message's text as a device the line reader can read from.
// One device serves every message of a file in turn.
class MailBodyDevice : public QIODevice {
public:
    void Reset(std::vector<Segment> segments)
    {
        close();
        m_segments = std::move(segments);
        m_index = 0;
        m_started = false;
        m_emptyReads = 0;
        m_out.clear();
        m_pos = 0;
        // The line reader buffers already.
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        for (;;) {
            if (m_pos < m_out.size()) {
                const qint64 n = std::min<qint64>(maxSize, m_out.size() - m_pos);
                std::memcpy(data, m_out.constData() + m_pos, static_cast<size_t>(n));
                m_pos += n;
                return n;
            }
            m_out.clear();
            m_pos = 0;
            if (m_index >= m_segments.size())
                return -1;
            Segment& segment = m_segments[m_index];
            if (!m_started) {
                m_started = true;
                m_lines.emplace(segment.lines);
                if (m_index > 0)
                    m_out.append("\n\n");
                if (!segment.stream) {
                    m_out.append(segment.text);
                    Next();
                }
                continue;
            }
            GMimeStream* stream = segment.stream.get();
            if (!m_lines->Active()) {
                // Nothing to repair: straight into the reader's buffer.
                const ssize_t n = g_mime_stream_read(stream, data, static_cast<size_t>(maxSize));
                if (n > 0)
                    return n;
                if (Ended(stream, n))
                    Next();
                continue;
            }
            if (!m_chunk)
                m_chunk = std::make_unique<char[]>(kChunk);
            const ssize_t n = g_mime_stream_read(stream, m_chunk.get(), kChunk);
            if (n > 0) {
                m_lines->Add(QByteArrayView(m_chunk.get(), n), m_out);
            } else if (Ended(stream, n)) {
                m_lines->Finish(m_out);
                Next();
            }
        }
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // A read that gave nothing: the end of the part, an error, or (a filter
    // still holding its input) nothing yet, which is not allowed to go on
    // for ever.
    bool Ended(GMimeStream* stream, ssize_t n)
    {
        if (n < 0 || g_mime_stream_eos(stream) || ++m_emptyReads > 1000)
            return true;
        return false;
    }

    void Next()
    {
        m_segments[m_index].stream.reset();
        ++m_index;
        m_started = false;
        m_emptyReads = 0;
    }

    std::vector<Segment> m_segments;
    size_t m_index = 0;
    bool m_started = false;
    int m_emptyReads = 0;
    std::optional<MailBodyLines> m_lines;
    QByteArray m_out;
    qsizetype m_pos = 0;
    std::unique_ptr<char[]> m_chunk;
};

QDateTime MessageDate(GMimeMessage* message)
{
    GDateTime* date = g_mime_message_get_date(message);
    if (!date)
        return {};
    gint year = 0;
    gint month = 0;
    gint day = 0;
    g_date_time_get_ymd(date, &year, &month, &day);
    const QTime time(g_date_time_get_hour(date), g_date_time_get_minute(date),
                     g_date_time_get_second(date));
    const auto offset = static_cast<int>(g_date_time_get_utc_offset(date) / G_TIME_SPAN_SECOND);
    return QDateTime(QDate(year, month, day), time, QTimeZone(offset));
}

} // namespace

struct MailReader::Private {
    StreamPtr source;
    ParserPtr parser;
    bool mbox = false;
    bool textIsUnicode = false;
    // Old Mac line ends (CR alone), which GMime does not read as lines.
    bool crLines = false;
    // A file of single messages: where each begins, then where the last
    // ends; next, the one to read.
    std::vector<gint64> bounds;
    size_t next = 0;
    // The raw bytes again, for the hash: the file read on its own handle
    // (the parser's stream keeps its place), or the bytes given.
    QFile rawFile;
    QByteArray rawBytes;
    // A message from a server is one message, whatever its body holds.
    bool singleMessage = false;
    gint64 rawFrom = 0;
    gint64 rawTo = 0;

    QByteArray RawHash()
    {
        MessageHash hash(mbox);
        if (!rawFile.isOpen()) {
            const gint64 from = std::clamp<gint64>(rawFrom, 0, rawBytes.size());
            const gint64 to = std::clamp<gint64>(rawTo, from, rawBytes.size());
            hash.Add(QByteArrayView(rawBytes).sliced(from, to - from));
            return hash.Hex();
        }
        if (rawFile.seek(rawFrom)) {
            gint64 left = rawTo - rawFrom;
            QByteArray chunk(static_cast<qsizetype>(kChunk), Qt::Uninitialized);
            while (left > 0) {
                const qint64 got = rawFile.read(chunk.data(), std::min<gint64>(left, chunk.size()));
                if (got <= 0)
                    break;
                hash.Add(QByteArrayView(chunk.constData(), got));
                left -= got;
            }
        }
        return hash.Hex();
    }

    void Start(StreamPtr stream, MailFileKind kind)
    {
        source = std::move(stream);
        parser.reset();
        bounds.clear();
        next = 0;
        mbox = kind == MailFileKind::Mbox;
        gint64 start = 0;
        const gint64 length = g_mime_stream_length(source.get());
        gint64 end = length;
        if (kind == MailFileKind::AppleMail) {
            // The first line is the message's length in bytes; a property
            // list follows the message.
            char line[64] = {};
            const ssize_t n = g_mime_stream_read(source.get(), line, sizeof line - 1);
            qsizetype lineEnd = 0;
            while (lineEnd < n && line[lineEnd] != '\n')
                ++lineEnd;
            start = lineEnd + 1;
            end =
                std::min<gint64>(length, start + QByteArray(line, lineEnd).trimmed().toLongLong());
        }
        g_mime_stream_reset(source.get());
        crLines = kind != MailFileKind::AppleMail && HasCrLines();
        if (mbox) {
            parser =
                NewParser(StreamPtr(GMIME_STREAM(g_object_ref(source.get()))), GMIME_FORMAT_MBOX);
            return;
        }
        bounds.push_back(start);
        if (kind == MailFileKind::Message && !singleMessage) {
            for (const qint64 later : LaterMessages())
                bounds.push_back(later);
        }
        bounds.push_back(end);
    }

    // Whether the first line ends with a CR alone.
    bool HasCrLines()
    {
        char head[4096];
        const ssize_t n = g_mime_stream_read(source.get(), head, sizeof head);
        g_mime_stream_reset(source.get());
        for (ssize_t i = 0; i < n; ++i) {
            if (head[i] == '\n')
                return false;
            if (head[i] == '\r')
                return i + 1 < n && head[i + 1] != '\n';
        }
        return false;
    }

    // Where the messages after the first begin in a file of several saved
    // one after another.
    std::vector<qint64> LaterMessages()
    {
        MessageStarts starts;
        auto buffer = std::make_unique<char[]>(kChunk);
        for (;;) {
            const ssize_t n = g_mime_stream_read(source.get(), buffer.get(), kChunk);
            if (n <= 0)
                break;
            starts.Add(QByteArrayView(buffer.get(), n));
        }
        g_mime_stream_reset(source.get());
        return starts.Starts();
    }

    ParserPtr NewParser(StreamPtr stream, GMimeFormat format)
    {
        if (crLines) {
            StreamPtr filtered(g_mime_stream_filter_new(stream.get()));
            GMimeFilter* filter = NewCrLinesFilter();
            g_mime_stream_filter_add(GMIME_STREAM_FILTER(filtered.get()), filter);
            g_object_unref(filter);
            stream = std::move(filtered);
        }
        g_mime_stream_reset(stream.get());
        ParserPtr made(g_mime_parser_new_with_stream(stream.get()));
        // Parts refer to the file instead of being copied into memory,
        // where they can: a filtered stream cannot be read from a part's
        // place again.
        g_mime_parser_set_persist_stream(made.get(), crLines ? FALSE : TRUE);
        g_mime_parser_set_format(made.get(), format);
        return made;
    }

    // The next message, or nullptr.
    GMimeMessage* NextMessage()
    {
        if (mbox) {
            if (!parser || g_mime_parser_eos(parser.get()))
                return nullptr;
            GMimeMessage* message = g_mime_parser_construct_message(parser.get(), nullptr);
            if (!message) {
                parser.reset();
                return nullptr;
            }
            rawFrom = g_mime_parser_get_headers_begin(parser.get());
            rawTo = g_mime_parser_tell(parser.get());
            return message;
        }
        if (next + 1 >= bounds.size())
            return nullptr;
        const gint64 from = bounds[next];
        const gint64 to = bounds[next + 1];
        ++next;
        rawFrom = from;
        rawTo = to;
        parser = NewParser(StreamPtr(g_mime_stream_substream(source.get(), from, to)),
                           GMIME_FORMAT_MESSAGE);
        GMimeMessage* message = g_mime_parser_construct_message(parser.get(), nullptr);
        if (!message)
            next = bounds.size();
        return message;
    }

    MailBodyDevice device;
    FormFields tableRows; // the message's HTML table, when its HTML is its text

    void Body(GMimeMessage* message)
    {
        std::vector<GMimePart*> plain;
        std::vector<GMimePart*> html;
        if (GMimeObject* top = g_mime_message_get_mime_part(message))
            CollectTextParts(top, plain, html);
        std::vector<Segment> segments;
        tableRows.clear();
        const bool useHtml = plain.empty();
        for (GMimePart* part : useHtml ? html : plain) {
            bool converted = false;
            StreamPtr stream = DecodedStream(part, textIsUnicode, &converted);
            if (!stream)
                continue;
            Segment segment;
            segment.lines.unquoteFrom = mbox;
            if (useHtml) {
                QByteArray bytes = ReadAll(stream.get());
                if (!converted && !IsValidUtf8(bytes))
                    bytes = TextFromWindows1252(bytes).toUtf8();
                QList<HtmlTableRow> rows;
                segment.text = HtmlToText(bytes, &rows);
                for (const HtmlTableRow& row : std::as_const(rows))
                    tableRows.append({QString::fromUtf8(row.label), QString::fromUtf8(row.value)});
            } else {
                GMimeObject* object = GMIME_OBJECT(part);
                segment.lines.flowed = ParameterIs(object, "format", "flowed");
                segment.lines.delSp = ParameterIs(object, "delsp", "yes");
                segment.stream = std::move(stream);
            }
            segments.push_back(std::move(segment));
        }
        device.Reset(std::move(segments));
    }
};

MailReader::MailReader() : d(std::make_unique<Private>())
{
    InitGMime();
}

MailReader::~MailReader() = default;

bool MailReader::OpenFile(const QString& path, MailFileKind kind, QString* error)
{
    GError* failure = nullptr;
    GMimeStream* stream =
        g_mime_stream_fs_open(QFile::encodeName(path).constData(), O_RDONLY, 0, &failure);
    if (!stream) {
        if (error)
            *error = failure ? QString::fromUtf8(failure->message) : QString();
        if (failure)
            g_error_free(failure);
        return false;
    }
    d->textIsUnicode = false;
    d->singleMessage = false;
    d->rawBytes.clear();
    d->rawFile.close();
    d->rawFile.setFileName(path);
    if (!d->rawFile.open(QIODevice::ReadOnly)) {
        if (error)
            *error = d->rawFile.errorString();
        g_object_unref(stream);
        return false;
    }
    d->Start(StreamPtr(stream), kind);
    return true;
}

void MailReader::OpenText(const QByteArray& utf8, MailFileKind kind)
{
    d->textIsUnicode = true;
    d->singleMessage = false;
    d->rawFile.close();
    d->rawBytes = utf8;
    d->Start(StreamPtr(g_mime_stream_mem_new_with_buffer(utf8.constData(),
                                                         static_cast<size_t>(utf8.size()))),
             kind);
}

void MailReader::OpenBytes(const QByteArray& raw)
{
    d->textIsUnicode = false;
    d->rawFile.close();
    d->rawBytes = raw;
    d->singleMessage = true;
    d->Start(StreamPtr(g_mime_stream_mem_new_with_buffer(raw.constData(),
                                                         static_cast<size_t>(raw.size()))),
             MailFileKind::Message);
}

bool MailReader::Next(MailMessage& message)
{
    message = MailMessage();
    MessagePtr parsed(d->NextMessage());
    if (!parsed)
        return false;
    message.date = MessageDate(parsed.get());
    if (const char* id = g_mime_message_get_message_id(parsed.get()))
        message.messageId = QByteArray(id);
    if (const char* subject = g_mime_message_get_subject(parsed.get()))
        message.subject = QString::fromUtf8(subject);
    message.sha256 = d->RawHash();
    d->Body(parsed.get());
    message.htmlTable = std::move(d->tableRows);
    message.body = &d->device;
    return true;
}

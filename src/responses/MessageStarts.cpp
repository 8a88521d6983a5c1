// GLib's headers use names that Qt defines as macros: GMime comes first.
#include <gmime/gmime.h>

#include "responses/MessageStarts.h"

#include "responses/GMimeInit.h"
#include "responses/MailFormat.h"

namespace {
// Longest line looked at; longer ones are cut, which no header needs.
constexpr qsizetype kKeep = 4096;
} // namespace

void MessageStarts::Add(QByteArrayView bytes)
{
    qsizetype pos = 0;
    if (m_afterCr && !bytes.isEmpty() && bytes[0] == '\n') {
        pos = 1;
        ++m_offset;
        m_lineStart = m_offset;
    }
    m_afterCr = false;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (m_line.size() < kKeep)
            m_line.append(bytes.sliced(pos, std::min(end - pos, kKeep - m_line.size())));
        m_offset += end - pos;
        if (end == bytes.size())
            return;
        Line(m_line, m_lineStart);
        m_line.truncate(0); // keeps its room for the next line
        qsizetype next = end + 1;
        if (bytes[end] == '\r') {
            if (next < bytes.size() && bytes[next] == '\n')
                ++next;
            else if (next == bytes.size())
                m_afterCr = true;
        }
        m_offset += next - end;
        m_lineStart = m_offset;
        pos = next;
    }
}

void MessageStarts::HeaderLine(QByteArrayView line)
{
    if (line.startsWith(' ') || line.startsWith('\t')) {
        if (m_inContentType && m_contentType.size() < kKeep)
            m_contentType.append(line);
        return;
    }
    QByteArrayView name;
    m_inContentType =
        HeaderName(line, &name) && name.compare("content-type", Qt::CaseInsensitive) == 0;
    if (m_inContentType)
        m_contentType = line.sliced(line.indexOf(':') + 1).toByteArray();
    if (name.compare("content-transfer-encoding", Qt::CaseInsensitive) == 0) {
        const QByteArray encoding =
            line.sliced(line.indexOf(':') + 1).trimmed().toByteArray().toLower();
        m_blockEncoded = encoding == "quoted-printable" || encoding == "base64";
    }
    m_from = m_from || name.compare("from", Qt::CaseInsensitive) == 0;
    m_date = m_date || name.compare("date", Qt::CaseInsensitive) == 0;
}

void MessageStarts::EndHeaders()
{
    m_boundary.clear();
    if (!m_contentType.isEmpty()) {
        InitGMime();
        GMimeContentType* type = g_mime_content_type_parse(nullptr, m_contentType.constData());
        if (type) {
            const char* boundary = g_mime_content_type_get_parameter(type, "boundary");
            if (g_mime_content_type_is_type(type, "multipart", "*") && boundary && *boundary)
                m_boundary = QByteArray("--") + boundary + "--";
            g_object_unref(type);
        }
    }
    m_contentType.clear();
    m_inContentType = false;
    m_encoded = m_blockEncoded;
    m_state = m_boundary.isEmpty() ? State::Body : State::Multipart;
    // A message may follow one with no body at all.
    m_mayStart = true;
}

void MessageStarts::Line(QByteArrayView line, qint64 start)
{
    switch (m_state) {
    case State::Headers:
        if (line.isEmpty())
            EndHeaders();
        else
            HeaderLine(line);
        return;
    case State::Multipart:
        if (line.trimmed() == m_boundary) {
            m_state = State::Body;
            m_mayStart = true;
        }
        return;
    case State::Candidate: {
        if (line.isEmpty()) {
            if (m_from && m_date) {
                m_starts.push_back(m_candidate);
                EndHeaders();
                return;
            }
            m_state = State::Body;
            m_mayStart = true;
            return;
        }
        QByteArrayView name;
        if (line.startsWith(' ') || line.startsWith('\t') || HeaderName(line, &name)) {
            HeaderLine(line);
            return;
        }
        m_state = State::Body;
        m_mayStart = false;
        return;
    }
    case State::Body:
        break;
    }
    QByteArrayView name;
    if (m_mayStart && HeaderName(line, &name)) {
        m_state = State::Candidate;
        m_candidate = start;
        m_from = false;
        m_date = false;
        m_contentType.clear();
        m_blockEncoded = false;
        HeaderLine(line);
        return;
    }
    // In text as it stands a message may begin on any line; in encoded
    // text only after an empty line, since what follows a false start
    // would not be decoded.
    m_mayStart = line.isEmpty() || !m_encoded;
}

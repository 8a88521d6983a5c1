#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

// Finds where the messages of a text of saved messages, one after another
// (each with its own header block, no mbox separators), begin. A further
// message begins with a header block that holds a From and a Date header
// and ends with an empty line: on any line of a body in plain text, after
// an empty line in a quoted-printable or base64 body, and right after the
// closing boundary of a multipart message; inside a multipart message (an
// attached message included) nothing begins. Lines may end
// with CR LF, LF or CR. Fed piece by piece, it holds only a line.
class MessageStarts {
public:
    // The next bytes of the text, which starts with a header block.
    void Add(QByteArrayView bytes);
    // Offsets of the messages after the first, in order.
    const std::vector<qint64>& Starts() const { return m_starts; }

private:
    enum class State { Headers, Body, Multipart, Candidate };

    void Line(QByteArrayView line, qint64 start);
    void HeaderLine(QByteArrayView line);
    void EndHeaders();

    State m_state = State::Headers;
    std::vector<qint64> m_starts;
    QByteArray m_line;       // the line not yet ended, up to kKeep bytes
    qint64 m_offset = 0;     // of the next byte fed
    qint64 m_lineStart = 0;  // of m_line
    bool m_afterCr = false;  // the last line ended with CR: an LF next is its end too
    bool m_mayStart = false; // a message may begin on this line
    bool m_inContentType = false;
    QByteArray m_contentType; // unfolded, of the message's header block
    QByteArray m_boundary;    // closing line of a multipart message
    qint64 m_candidate = 0;   // where the header block being read began
    bool m_from = false;
    bool m_date = false;
    bool m_blockEncoded = false; // the header block read names a transfer encoding
    bool m_encoded = false;      // so did the message's
};

#pragma once

#include <QDate>
#include <QString>
#include <functional>

class Session;
struct MailMessage;

// The layouts a message's text can hold a response in.
enum class MessageLayout { UrlEncoded, TextPost, Labels, HtmlTable, Json };

// "url-encoded", "text/plain post", "label lines", "HTML table", "JSON".
QString LayoutName(MessageLayout layout);

// A message's text up to this size is read whole, so that every layout can
// be recognised; a longer one is read only as URL-encoded bodies, streaming.
constexpr qsizetype kLayoutTextBytes = qsizetype(1024) * 1024;

// What one message gave, and how.
struct MessageReading {
    MessageLayout layout = MessageLayout::UrlEncoded;
    int records = 0;
    int dropped = 0;
    bool stopped = false; // onRecord asked to stop
    QString why;          // with no record: why the message gave none
};

// Reads the records of one message's text, each in turn into the emptied
// record tables (blank rows removed) and handed to onRecord, whose false
// stops the reading. The layout is recognised from the text: a JSON object
// when it starts with "{" (a malformed one gives no record), a browser's
// text/plain post (see TextPostLayout.h), else URL-encoded bodies by the
// mail rule (see FormEncodedLine.h); a message that gives none of them is
// read, when its subject says it is a form notification (see
// LabelLayout.h), for the label and value rows of its HTML tables (an
// HTML-only message with at least kMinLabelLines of them), else for label
// lines.
MessageReading ReadMessageRecords(Session& session, MailMessage& message, const QDate& date,
                                  const QString& source, const std::function<bool()>& onRecord);

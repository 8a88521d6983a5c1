#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Line-level repairs of a message body's decoded text, done as it streams
// by: the ">From " quoting of mbox files undone, and format=flowed lines
// (a trailing blank marks a soft break) joined back into their paragraphs.
class MailBodyLines {
public:
    struct Options {
        bool unquoteFrom = false; // the message came out of an mbox file
        bool flowed = false;      // format=flowed
        bool delSp = false;       // delsp=yes: the blank before a soft break is not text
    };

    explicit MailBodyLines(Options options) : m_options(options) {}

    // Whether any repair is asked for; when not, text can pass unchanged.
    bool Active() const { return m_options.unquoteFrom || m_options.flowed; }

    // Takes the next piece of text and appends what is complete to out.
    void Add(QByteArrayView text, QByteArray& out);
    // Ends the text: appends whatever is still held.
    void Finish(QByteArray& out);

private:
    void Line(QByteArrayView line, QByteArray& out);
    void Unquote(QByteArrayView text, QByteArray& out);

    Options m_options;
    QByteArray m_partial; // a line whose ending has not come yet
    bool m_softPending = false;
    int m_pendingDepth = 0;
};

#include "mailbox/ImapClient.h"

#include <QRegularExpression>
#include <algorithm>
#include <curl/curl.h>

namespace {

// A literal is read line by line by libcurl; a line longer than this fails
// the fetch of its message instead of taking unbounded memory.
constexpr long kLineBuffer = 512 * 1024;
constexpr qsizetype kQuoteLimit = 1000;

size_t Collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

// libcurl hands a custom command's untagged lines to the body, but not the
// literals a FETCH returns: the message text is taken from the lines the
// server sent, which libcurl shows its debug function whole.
int Wire(CURL*, curl_infotype type, char* data, size_t size, void* target)
{
    if (type == CURLINFO_HEADER_IN)
        static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size));
    return 0;
}

QByteArray Quoted(const QString& folder)
{
    QByteArray text = folder.toUtf8();
    text.replace("\\", "\\\\").replace("\"", "\\\"");
    return '"' + text + '"';
}

QByteArray SinceDate(const QDate& date)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return QByteArray::number(date.day()) + '-' + months[date.month() - 1] + '-' +
           QByteArray::number(date.year());
}

// "1:5,7,9:10" for ascending uids.
QByteArray UidSet(const std::vector<qint64>& uids)
{
    QByteArray set;
    for (size_t i = 0; i < uids.size();) {
        size_t j = i;
        while (j + 1 < uids.size() && uids[j + 1] == uids[j] + 1)
            ++j;
        if (!set.isEmpty())
            set += ',';
        set += QByteArray::number(uids[i]);
        if (j > i)
            set += ':' + QByteArray::number(uids[j]);
        i = j + 1;
    }
    return set;
}

// The server's answer to the command that failed: its last tagged NO or
// BAD line (libcurl logs out after it).
QByteArray Refusal(const QByteArray& wire)
{
    static const QRegularExpression tagged(QStringLiteral("^[A-Z]\\d+ (NO|BAD) .*$"),
                                           QRegularExpression::MultilineOption);
    QByteArray found;
    auto it = tagged.globalMatch(QString::fromUtf8(wire));
    while (it.hasNext())
        found = it.next().captured(0).trimmed().toUtf8();
    return found.left(kQuoteLimit);
}

} // namespace

struct ImapClient::Private {
    CURL* curl = nullptr;
    std::string url;
    std::string user;
    std::string password;
    std::string caFile;
    QString folder;
    QByteArray body;
    QByteArray wire;
    char errorText[CURL_ERROR_SIZE] = {};
};

ImapClient::ImapClient(const ImapAccount& account, const QString& password, const QString& caFile)
    : d(std::make_unique<Private>())
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    d->curl = curl_easy_init();
    d->url = account.ServerUrl().toStdString();
    d->user = account.user.toStdString();
    d->password = password.toStdString();
    d->caFile = caFile.toStdString();
    d->folder = account.folder;
    CURL* c = d->curl;
    curl_easy_setopt(c, CURLOPT_URL, d->url.c_str());
    curl_easy_setopt(c, CURLOPT_USERNAME, d->user.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, d->password.c_str());
    if (!d->caFile.empty())
        curl_easy_setopt(c, CURLOPT_CAINFO, d->caFile.c_str());
    // Plain IMAP only on this machine; elsewhere STARTTLS or nothing.
    if (!account.tls)
        curl_easy_setopt(c, CURLOPT_USE_SSL,
                         account.IsLoopback()
                             ? (d->caFile.empty() ? CURLUSESSL_NONE : CURLUSESSL_TRY)
                             : CURLUSESSL_ALL);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &d->body);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Wire);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &d->wire);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, d->errorText);
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, kLineBuffer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that stops sending for a minute has gone.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
}

ImapClient::~ImapClient()
{
    curl_easy_cleanup(d->curl);
    curl_global_cleanup();
}

bool ImapClient::Run(const QByteArray& command, QByteArray* untagged)
{
    d->body.clear();
    d->wire.clear();
    d->errorText[0] = '\0';
    const std::string request = command.toStdString();
    curl_easy_setopt(d->curl, CURLOPT_CUSTOMREQUEST, request.c_str());
    const CURLcode code = curl_easy_perform(d->curl);
    curl_easy_setopt(d->curl, CURLOPT_CUSTOMREQUEST, nullptr);
    if (untagged)
        *untagged = d->body;
    if (code == CURLE_OK) {
        m_fault = ImapFault::None;
        m_error.clear();
        return true;
    }
    m_error = QString::fromUtf8(d->errorText[0] ? d->errorText : curl_easy_strerror(code));
    switch (code) {
    case CURLE_LOGIN_DENIED:
        m_fault = ImapFault::Login;
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        m_fault = ImapFault::Certificate;
        break;
    case CURLE_USE_SSL_FAILED:
        m_fault = ImapFault::NoStartTls;
        break;
    case CURLE_QUOTE_ERROR:
        m_fault = ImapFault::Other;
        m_error = QStringLiteral("the server answered ") + QString::fromUtf8(Refusal(d->wire));
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_SSL_CONNECT_ERROR:
        m_fault = ImapFault::Connection;
        break;
    default:
        m_fault = ImapFault::Other;
        break;
    }
    return false;
}

bool ImapClient::Examine(qint64* uidValidity)
{
    QByteArray lines;
    if (!Run("EXAMINE " + Quoted(d->folder), &lines)) {
        if (m_fault == ImapFault::Other)
            m_fault = ImapFault::Folder;
        return false;
    }
    static const QRegularExpression validity(QStringLiteral("\\[UIDVALIDITY (\\d+)\\]"));
    const QRegularExpressionMatch match = validity.match(QString::fromLatin1(lines));
    if (!match.hasMatch()) {
        m_fault = ImapFault::Other;
        m_error = QStringLiteral("the server gave the folder no UIDVALIDITY");
        return false;
    }
    *uidValidity = match.captured(1).toLongLong();
    return true;
}

bool ImapClient::Search(qint64 after, const QDate& since, std::vector<qint64>* uids)
{
    QByteArray command = "UID SEARCH UID " + QByteArray::number(after + 1) + ":*";
    if (since.isValid())
        command += " SINCE " + SinceDate(since);
    QByteArray lines;
    if (!Run(command, &lines))
        return false;
    uids->clear();
    for (const QByteArray& line : lines.split('\n')) {
        if (!line.startsWith("* SEARCH"))
            continue;
        for (const QByteArray& word : line.mid(8).simplified().split(' ')) {
            bool ok = false;
            const qint64 uid = word.toLongLong(&ok);
            // "n:*" names the last message even when its UID is below n.
            if (ok && uid > after)
                uids->push_back(uid);
        }
    }
    std::sort(uids->begin(), uids->end());
    return true;
}

bool ImapClient::Fetch(const std::vector<qint64>& uids, const std::function<void(Message&&)>& take,
                       bool* partial)
{
    *partial = false;
    if (uids.empty())
        return true;
    const bool ran = Run("UID FETCH " + UidSet(uids) + " BODY.PEEK[]", nullptr);
    static const QRegularExpression fetchLine(
        QStringLiteral("^\\* \\d+ FETCH \\(.*\\bUID (\\d+)\\b.*\\{(\\d+)\\}\\r?$"));
    const QByteArray& wire = d->wire;
    qsizetype pos = 0;
    while (pos < wire.size()) {
        qsizetype end = wire.indexOf('\n', pos);
        if (end < 0)
            end = wire.size();
        const QByteArray line = wire.mid(pos, end - pos);
        pos = end + 1;
        if (!line.startsWith("* ") || !line.contains(" FETCH ("))
            continue;
        const QRegularExpressionMatch match = fetchLine.match(QString::fromLatin1(line));
        if (!match.hasMatch())
            continue;
        Message message;
        message.uid = match.captured(1).toLongLong();
        const qsizetype size = match.captured(2).toLongLong();
        if (pos + size > wire.size()) {
            *partial = true;
            break;
        }
        message.raw = wire.mid(pos, size);
        pos += size;
        take(std::move(message));
    }
    return ran;
}

#include "mailbox/ImapClient.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <curl/curl.h>

namespace {

// A literal is read line by line by libcurl; a line longer than this fails
// the fetch of its message instead of taking unbounded memory.
constexpr long kLineBuffer = 512 * 1024;
constexpr qsizetype kQuoteLimit = 1000;
// UIDs one search covers, and the bytes of messages one fetch asks for: on
// a plain connection to a folder of thousands of messages, answers of 16 KB
// already ran into libcurl's limit on an answer's lines.
constexpr qint64 kSearchWindow = 2000;
constexpr qint64 kPerCommand = 4 * 1024;
constexpr size_t kMessagesPerCommand = 25;
constexpr qint64 kReconnectAfter = 4 * 1024 * 1024;

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

long SslUse(ImapAccount::StartTls use)
{
    switch (use) {
    case ImapAccount::StartTls::Never:
        return CURLUSESSL_NONE;
    case ImapAccount::StartTls::IfOffered:
        return CURLUSESSL_TRY;
    case ImapAccount::StartTls::Required:
        break;
    }
    return CURLUSESSL_ALL;
}

} // namespace

struct ImapClient::Private {
    CURL* curl = nullptr;
    std::string url;
    std::string user;
    std::string password;
    std::string caFile;
    QString folder;
    ImapAccount account;
    qint64 uidNext = 0;     // from EXAMINE; 0 when the server gave none
    qint64 uidValidity = 0; // from the first EXAMINE
    // What the server sent on this handle; a long fetch goes on on a new
    // connection now and then, so no connection grows without bound.
    qint64 served = 0;
    void Open();
    QByteArray body;
    QByteArray wire;
    char errorText[CURL_ERROR_SIZE] = {};
};

ImapClient::ImapClient(const ImapAccount& account, const QString& password, const QString& caFile)
    : d(std::make_unique<Private>())
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    d->url = account.ServerUrl().toStdString();
    d->user = account.user.toStdString();
    d->password = password.toStdString();
    d->caFile = caFile.toStdString();
    d->folder = account.folder;
    d->account = account;
    d->Open();
}

void ImapClient::Private::Open()
{
    if (curl)
        curl_easy_cleanup(curl);
    served = 0;
    curl = curl_easy_init();
    CURL* c = curl;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.c_str());
    if (!caFile.empty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.c_str());
    // Plain IMAP only on this machine; elsewhere STARTTLS or nothing.
    if (!account.tls)
        curl_easy_setopt(c, CURLOPT_USE_SSL, SslUse(account.StartTlsUse(!caFile.empty())));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Wire);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &wire);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
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
    if (d->served > kReconnectAfter && !Reopen())
        return false;
    d->body.clear();
    d->wire.clear();
    d->errorText[0] = '\0';
    const std::string request = command.toStdString();
    curl_easy_setopt(d->curl, CURLOPT_CUSTOMREQUEST, request.c_str());
    const CURLcode code = curl_easy_perform(d->curl);
    d->served += d->wire.size();
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
    d->uidValidity = *uidValidity;
    static const QRegularExpression next(QStringLiteral("\\[UIDNEXT (\\d+)\\]"));
    d->uidNext = next.match(QString::fromLatin1(lines)).captured(1).toLongLong();
    return true;
}

bool ImapClient::Reopen()
{
    d->Open();
    QByteArray lines;
    const qint64 before = d->uidValidity;
    qint64 validity = 0;
    if (!Examine(&validity))
        return false;
    if (validity != before) {
        m_fault = ImapFault::Other;
        m_error = QStringLiteral("the folder's UIDVALIDITY changed during the fetch");
        return false;
    }
    return true;
}

bool ImapClient::Search(qint64 after, const ImapFilter& filter, std::vector<qint64>* uids)
{
    QByteArray criteria;
    if (filter.since.isValid())
        criteria += " SINCE " + SinceDate(filter.since);
    bool wide = false;
    for (const auto& [key, text] :
         {std::pair{"SUBJECT", &filter.subject}, {"FROM", &filter.sender}}) {
        if (text->isEmpty())
            continue;
        criteria += QByteArray(" ") + key + ' ' + Quoted(*text);
        wide = wide || text->toUtf8().size() != text->size();
    }
    const QByteArray search = wide ? "UID SEARCH CHARSET UTF-8 UID " : "UID SEARCH UID ";
    uids->clear();
    // In windows of UIDs: the answer comes on one line, which libcurl takes
    // only up to its buffer's size.
    qint64 from = after + 1;
    do {
        const qint64 to = from + kSearchWindow - 1;
        const bool last = d->uidNext <= 0 || to >= d->uidNext - 1;
        const QByteArray command = search + QByteArray::number(from) + ':' +
                                   (last ? QByteArray("*") : QByteArray::number(to)) + criteria;
        QByteArray lines;
        if (!Run(command, &lines))
            return false;
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
        if (last)
            break;
        from = to + 1;
    } while (true);
    std::sort(uids->begin(), uids->end());
    uids->erase(std::unique(uids->begin(), uids->end()), uids->end());
    return true;
}

bool ImapClient::Literals(std::vector<Message>* messages)
{
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
        const qsizetype size = match.captured(2).toLongLong();
        if (pos + size > wire.size())
            return false;
        messages->push_back({match.captured(1).toLongLong(), wire.mid(pos, size)});
        pos += size;
    }
    return true;
}

bool ImapClient::Sizes(const std::vector<qint64>& uids, std::map<qint64, qint64>* sizes)
{
    QByteArray lines;
    if (!Run("UID FETCH " + UidSet(uids) + " (RFC822.SIZE)", &lines))
        return false;
    static const QRegularExpression item(
        QStringLiteral("\\bUID (\\d+)\\b.*\\bRFC822\\.SIZE (\\d+)|"
                       "\\bRFC822\\.SIZE (\\d+)\\b.*\\bUID (\\d+)"));
    for (const QByteArray& line : lines.split('\n')) {
        const QRegularExpressionMatch match = item.match(QString::fromLatin1(line));
        if (!match.hasMatch())
            continue;
        if (!match.captured(1).isEmpty())
            (*sizes)[match.captured(1).toLongLong()] = match.captured(2).toLongLong();
        else
            (*sizes)[match.captured(4).toLongLong()] = match.captured(3).toLongLong();
    }
    return true;
}

bool ImapClient::Fetch(const std::vector<qint64>& uids, const std::function<void(Message&&)>& take,
                       bool* partial)
{
    *partial = false;
    if (uids.empty())
        return true;
    // libcurl refuses the answer to one command when it holds more than
    // about 150 untagged lines (it counts them far above their size against
    // its 300 KB limit): sizes and messages are asked for a few at a time,
    // a large message in pieces.
    std::map<qint64, qint64> sizes;
    for (size_t first = 0; first < uids.size(); first += kMessagesPerCommand) {
        const std::vector<qint64> slice(
            uids.begin() + static_cast<std::ptrdiff_t>(first),
            uids.begin() +
                static_cast<std::ptrdiff_t>(std::min(uids.size(), first + kMessagesPerCommand)));
        if (!Sizes(slice, &sizes))
            return false;
    }
    size_t next = 0;
    while (next < uids.size()) {
        std::vector<qint64> group;
        qint64 bytes = 0;
        while (next < uids.size() && (group.empty() || bytes + sizes[uids[next]] <= kPerCommand) &&
               sizes[uids[next]] <= kPerCommand) {
            bytes += sizes[uids[next]];
            group.push_back(uids[next++]);
        }
        std::vector<Message> messages;

        if (group.empty()) {
            // One message larger than a command's answer may be.
            const qint64 uid = uids[next++];
            Message whole{uid, {}};
            while (whole.raw.size() < sizes[uid]) {
                const QByteArray command = "UID FETCH " + QByteArray::number(uid) +
                                           " BODY.PEEK[]<" + QByteArray::number(whole.raw.size()) +
                                           '.' + QByteArray::number(kPerCommand) + '>';
                const bool ran = Run(command, nullptr);
                std::vector<Message> piece;
                if (!Literals(&piece) || !ran) {
                    *partial = true;
                    return false;
                }
                if (piece.empty() || piece.front().raw.isEmpty())
                    break;
                whole.raw += piece.front().raw;
            }
            take(std::move(whole));
            continue;
        }
        const bool ran = Run("UID FETCH " + UidSet(group) + " BODY.PEEK[]", nullptr);
        const bool whole = Literals(&messages);
        for (Message& message : messages)
            take(std::move(message));
        if (!whole)
            *partial = true;
        if (!ran || !whole)
            return false;
    }
    return true;
}

ServerCertificate ImapClient::CheckCertificate(const ImapAccount& account, const QString& caFile)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    const std::string url = account.ServerUrl().toStdString();
    const std::string ca = caFile.toStdString();
    ServerCertificate result;
    // Without a user name libcurl ends the connection's set-up before the
    // login, and CONNECT_ONLY stops it there.
    const auto connect = [&](bool verify, QByteArray* pem) {
        CURL* c = curl_easy_init();
        char errorText[CURL_ERROR_SIZE] = {};
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        if (!account.tls)
            curl_easy_setopt(c, CURLOPT_USE_SSL, SslUse(account.StartTlsUse(!ca.empty())));
        if (!ca.empty())
            curl_easy_setopt(c, CURLOPT_CAINFO, ca.c_str());
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, verify ? 1L : 0L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, verify ? 2L : 0L);
        curl_easy_setopt(c, CURLOPT_CERTINFO, 1L);
        curl_easy_setopt(c, CURLOPT_CONNECT_ONLY, 1L);
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        const CURLcode code = curl_easy_perform(c);
        curl_certinfo* info = nullptr;
        if (pem && code == CURLE_OK && curl_easy_getinfo(c, CURLINFO_CERTINFO, &info) == CURLE_OK &&
            info && info->num_of_certs > 0)
            for (curl_slist* item = info->certinfo[0]; item; item = item->next)
                if (qstrncmp(item->data, "Cert:", 5) == 0)
                    *pem = QByteArray(item->data + 5);
        if (code != CURLE_OK)
            result.error = QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(code));
        curl_easy_cleanup(c);
        return code;
    };
    const CURLcode code = connect(true, nullptr);
    result.reached = code == CURLE_OK;
    result.trusted = code == CURLE_OK;
    if (code == CURLE_PEER_FAILED_VERIFICATION && connect(false, &result.pem) == CURLE_OK &&
        !result.pem.isEmpty()) {
        result.reached = true;
        QByteArray base64;
        for (const QByteArray& line : result.pem.split('\n'))
            if (!line.startsWith("-----"))
                base64 += line.trimmed();
        result.fingerprint = QString::fromLatin1(
            QCryptographicHash::hash(QByteArray::fromBase64(base64), QCryptographicHash::Sha256)
                .toHex(':')
                .toUpper());
    }
    curl_global_cleanup();
    return result;
}

#include "output/OutputFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Written out in blocks of about this size, at the end of a record.
constexpr qsizetype kBlock = 64 * 1024;

QString SystemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

OutputFile::OutputFile() = default;

OutputFile::~OutputFile() = default; // a QSaveFile not committed drops its temporary file

bool OutputFile::Open(const QString& path, bool append)
{
    m_appending = append;
    if (append)
        m_file = std::make_unique<QFile>(path);
    else
        m_file = std::make_unique<QSaveFile>(path);
    // Unbuffered: every byte goes through the descriptor, below.
    if (!m_file->open(append ? QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered
                             : QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_file->errorString();
        m_file.reset();
        return false;
    }
    m_sizeAtOpen = append ? m_file->size() : 0;
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputFile::writeData(const char* data, qint64 size)
{
    m_pending.append(data, size);
    return size;
}

void OutputFile::Write(const QString& text, const QString& more)
{
    // Encoded straight into the held bytes: no allocation for every record.
    const qsizetype held = m_pending.size();
    m_pending.resize(held + (text.size() + more.size()) * 3);
    char* end = m_encoder.appendToBuffer(m_pending.data() + held, text);
    end = m_encoder.appendToBuffer(end, more);
    m_pending.resize(end - m_pending.constData());
}

bool OutputFile::EndRecord()
{
    m_recordEnds.push_back(m_pending.size());
    return m_pending.size() < kBlock || WriteOut();
}

bool OutputFile::WriteOut()
{
    if (m_failed)
        return false;
    const int fd = m_file->handle();
    qsizetype done = 0;
    int error = 0;
    while (done < m_pending.size()) {
        const ssize_t n =
            ::write(fd, m_pending.constData() + done, static_cast<size_t>(m_pending.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += n;
    }
    // The records whose every byte reached the file.
    const auto whole = std::upper_bound(m_recordEnds.begin(), m_recordEnds.end(), done);
    if (whole != m_recordEnds.begin())
        m_whole = m_written + *(whole - 1);
    m_records += static_cast<int>(whole - m_recordEnds.begin());
    m_written += done;
    if (error != 0) {
        m_failed = true;
        m_error = SystemText(error);
        return false;
    }
    m_pending.resize(0); // keeps its room
    m_recordEnds.clear();
    return true;
}

bool OutputFile::Commit()
{
    if (!WriteOut())
        return false;
    m_whole = m_written;
    Close(true);
    return m_error.isEmpty();
}

QString OutputFile::Abandon(bool keepRecords)
{
    if (!m_file)
        return {};
    const QString failure = m_error;
    QStringList problems;
    // Records ended but not yet written are written, unless writing failed.
    if (keepRecords && !m_failed) {
        m_pending.truncate(m_recordEnds.empty() ? 0 : m_recordEnds.back());
        if (!WriteOut())
            problems.append(m_error);
    }
    const bool commit = !m_appending && keepRecords && m_records > 0;
    if ((m_appending || commit) && m_written != m_whole) {
        if (::ftruncate(m_file->handle(), m_sizeAtOpen + m_whole) == 0)
            m_written = m_whole;
        else
            problems.append(QStringLiteral("the last %1 bytes of %2 are an incomplete record: %3")
                                .arg(m_written - m_whole)
                                .arg(m_file->fileName(), SystemText(errno)));
    }
    if (!m_appending && !commit)
        m_records = 0; // the new file is dropped
    m_error.clear();
    Close(commit);
    if (!m_error.isEmpty())
        problems.append(m_error);
    m_error = failure;
    return problems.join(QStringLiteral("; "));
}

void OutputFile::Close(bool commit)
{
    if (auto* save = dynamic_cast<QSaveFile*>(m_file.get())) {
        if (commit && !save->commit()) {
            m_error = save->errorString();
            m_records = 0;
        }
    } else {
        m_file->close();
    }
    m_file.reset(); // a QSaveFile not committed drops its temporary file
    QIODevice::close();
}

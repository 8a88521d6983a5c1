// Reading one response whose one value is large: time and peak memory per
// size, for the value on one line and wrapped into mail lines of 70
// characters. Each size runs in a child process of its own, so its peak
// resident memory is its own.
// Run: build-release/bench/parse_bench [MB...]   (default 2 4 8 16 50 100)
#include "platform/Regional.h"
#include "platform/ScriptedUi.h"
#include "session/RecordTables.h"
#include "responses/ResponseFile.h"
#include "responses/ResponseParser.h"

#include "PeakMemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using bench::PeakKb;

namespace {

long CurrentKb()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// A mail header, then "name=Big&value=" and megabytes of value bytes (every
// 40th an escape), on one line or wrapped.
void Generate(const QString& path, qint64 megabytes, bool wrapped)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("From: form@example.org\r\nSubject: Response\r\n\r\nname=Big&value=");
    const qint64 total = megabytes * 1024 * 1024;
    QByteArray chunk;
    qint64 column = 15;
    for (qint64 written = 0; written < total;) {
        chunk.clear();
        while (chunk.size() < 1 << 20 && written < total) {
            if (wrapped && column >= 70) {
                chunk += "\r\n";
                column = 0;
            }
            const QByteArray piece = written % 40 == 0 ? QByteArray("%41") : QByteArray("b");
            chunk += piece;
            column += piece.size();
            written += piece.size();
        }
        file.write(chunk);
    }
    file.write("\r\n\r\n");
}

void Measure(const QString& path, qint64 megabytes, bool wrapped)
{
    ScriptedUi ui;
    RecordTables tables;
    const Regional regional;
    ResponseFile file(path);
    const long before = CurrentKb();
    QElapsedTimer timer;
    timer.start();
    const int result = ReadRecord(tables, ui, regional, QString(), QDate(2024, 1, 1), path, &file);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double peakMb = (PeakKb() - before) / 1024.0;
    std::printf("%4lld MB value, %s: %6.2f s, peak %7.1f MB above the start (%.2f x the value)"
                "%s\n",
                static_cast<long long>(megabytes), wrapped ? "wrapped " : "one line", seconds,
                peakMb, peakMb / static_cast<double>(megabytes),
                result == kRecordRead ? "" : "  NOT READ");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QList<qint64> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toLongLong());
    if (sizes.isEmpty())
        sizes = {2, 4, 8, 16, 50, 100};
    QTemporaryDir dir;
    for (const bool wrapped : {false, true}) {
        for (const qint64 mb : sizes) {
            const QString path = dir.filePath(QStringLiteral("big.txt"));
            Generate(path, mb, wrapped);
            std::fflush(stdout);
            const pid_t child = fork();
            if (child == 0) {
                Measure(path, mb, wrapped);
                std::fflush(stdout);
                _exit(0);
            }
            int status = 0;
            waitpid(child, &status, 0);
        }
    }
    return 0;
}

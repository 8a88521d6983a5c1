// Times reading a large form configuration: 30000 entries with comments
// between them, each spanning several lines with a three-line choice list.
// Usage: bench_config_read [entries]
#include "config/ConfigReader.h"
#include "session/RecordTables.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 30000;
    QString text;
    for (int i = 0; i < entries; ++i) {
        text += QStringLiteral("# entry %1\n\n").arg(i);
        text += QStringLiteral("F|1|Question\nnumber %1|Q%1|1|%2|0|80|0|T|2.2|Field_Value|G1.%3||\n"
                               "Yes\nNo\nMaybe\n||\n")
                    .arg(i)
                    .arg(i % 2)
                    .arg(i % 8);
    }

    RecordTables tables;
    QElapsedTimer timer;
    timer.start();
    FormConfig config;
    QString error;
    const bool ok = ReadConfigText(text, tables, config, &error);
    const qint64 readMs = timer.elapsed();
    timer.restart();
    for (int i = 0; i < config.ConfigEntries.size(); ++i)
        ParseConfig(config, i);
    const qint64 parseMs = timer.elapsed();
    std::printf("read %d entries (%lld characters): %s, %lld ms; parsing each again: %lld ms\n",
                static_cast<int>(config.ConfigEntries.size()), static_cast<long long>(text.size()),
                ok ? "ok" : qPrintable(error), static_cast<long long>(readMs),
                static_cast<long long>(parseMs));
    return ok ? 0 : 1;
}

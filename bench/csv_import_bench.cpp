// Import of a form service's CSV export of 100,000 rows of 20 columns
// against the import of the same records as URL-encoded bodies in a plain
// text file, each into a new database; the CSV import is meant to stay
// within 1.5 x the time of the other.
// Run: build-release/bench/csv_import_bench [rows]
#include "GeneratedResponses.h"
#include "PeakMemory.h"
#include "TimedImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kColumns = 20;

QByteArray ColumnName(int column)
{
    return QByteArray(bench::kNames[column % bench::kFields]) +
           (column < bench::kFields ? QByteArray() : QByteArray(" 2"));
}

// A cell's text as a person typed it: the generated value, decoded.
QByteArray Cell(int row, int column)
{
    QByteArray value = bench::Value(row + column / bench::kFields, column % bench::kFields);
    return QByteArray::fromPercentEncoding(value.replace('+', ' '));
}

// Quoted as the services quote: when the cell holds a comma, a quote or a
// line break.
QByteArray Quoted(const QByteArray& cell)
{
    if (!cell.contains(',') && !cell.contains('"') && !cell.contains('\n') && !cell.contains('\r'))
        return cell;
    QByteArray quoted = cell;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

bool GenerateCsv(const QString& path, int rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray header;
    for (int c = 0; c < kColumns; ++c)
        header += (c ? "," : "") + Quoted(ColumnName(c));
    file.write(header + "\r\n");
    for (int r = 0; r < rows; ++r) {
        QByteArray line;
        for (int c = 0; c < kColumns; ++c)
            line += (c ? "," : "") + Quoted(Cell(r, c));
        file.write(line + "\r\n");
    }
    return true;
}

bool GenerateUrlEncoded(const QString& path, int rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int r = 0; r < rows; ++r) {
        QByteArray body;
        for (int c = 0; c < kColumns; ++c)
            body += (c ? "&" : "") + ColumnName(c).toPercentEncoding() + "=" +
                    Cell(r, c).toPercentEncoding(" ").replace(' ', '+');
        file.write(body + "\r\n\r\n");
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    const QString encoded = dir.filePath(QStringLiteral("responses.txt"));
    std::printf("Generating %d rows of %d columns...\n", rows, kColumns);
    if (!GenerateCsv(csv, rows) || !GenerateUrlEncoded(encoded, rows)) {
        std::printf("cannot write into %s\n", dir.path().toUtf8().constData());
        return 1;
    }
    std::printf("CSV %.0f MB, URL-encoded %.0f MB\n", QFileInfo(csv).size() / 1e6,
                QFileInfo(encoded).size() / 1e6);
    std::printf("Import of the URL-encoded responses:\n");
    const double urlSeconds =
        bench::ImportSeconds(dir.path(), dir.filePath(QStringLiteral("url.fdb")), encoded);
    std::printf("Import of the CSV export:\n");
    const double csvSeconds =
        bench::ImportSeconds(dir.path(), dir.filePath(QStringLiteral("csv.fdb")), csv);
    std::printf("url-encoded: %.2f s, %.0f records/s\n", urlSeconds, rows / urlSeconds);
    std::printf("csv:         %.2f s, %.0f records/s\n", csvSeconds, rows / csvSeconds);
    std::printf("csv / url-encoded time: %.2f x (goal: under 1.5 x); peak RSS %ld KB\n",
                csvSeconds / urlSeconds, bench::PeakKb());
    return 0;
}

#include "responses/CsvScan.h"

#include "platform/Regional.h"
#include "platform/ResponseText.h"
#include "platform/Sha256.h"
#include "session/Session.h"
#include "responses/CsvReader.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int F = RecordTables::kFieldTable;
constexpr int H = RecordTables::kHeaderTable;

bool IsDateColumn(const QString& name)
{
    static const QRegularExpression word(QStringLiteral("\\b(date|timestamp)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString plain = name.toLower();
    plain.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    return word.match(plain).hasMatch() || plain.startsWith(QStringLiteral("submitted")) ||
           plain.startsWith(QStringLiteral("created"));
}

// Fills the record tables with one row; throws RecordTablesError.
void StoreRow(Session& session, const QStringList& names, const QList<int>& dateColumns,
              const CsvReader::Row& row, const QDate& fileDate, const QString& source)
{
    RecordTables& tables = session.Tables;
    QDate date = fileDate;
    for (const int column : dateColumns) {
        if (column >= row.cells.size())
            break;
        // ISO timestamps (dated in their own zone) or the regional forms.
        if (const auto parsed =
                session.RegionalSettings.ParseDate(QString::fromUtf8(row.cells[column]))) {
            date = *parsed;
            break;
        }
    }
    for (qsizetype i = 0; i < row.cells.size(); ++i) {
        const QString name = i < names.size() ? names[i] : QStringLiteral("Column %1").arg(i + 1);
        const QString value = QString::fromUtf8(row.cells[i]);
        tables.PutArrayElement(F, RecordTables::FieldNameColumn, name);
        tables.PutArrayElement(F, RecordTables::FieldValueColumn, value);
        if (tables.CurrentRow[F] == 0) {
            tables.PutArrayElement(H, RecordTables::NameColumn, value);
            tables.PutArrayElement(H, RecordTables::DateColumn,
                                   session.RegionalSettings.DateToText(date));
            tables.PutArrayElement(H, RecordTables::SourceColumn, source);
        }
        tables.CurrentRow[F] = static_cast<qint16>(tables.CurrentRow[F] + 1);
    }
}

} // namespace

bool IsCsvFileName(const QString& path)
{
    return QFileInfo(path).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
}

void ScanCsvFile(Session& session, const QString& fullPath, const QString& source,
                 ScanOutcome& outcome, const std::function<bool()>& onRecord, ScanItems* items)
{
    CsvReader reader;
    if (!reader.Open(fullPath)) {
        outcome.opened = false;
        outcome.error = reader.ErrorString();
        return;
    }
    CsvReader::Row row;
    QStringList names;
    QList<int> dateColumns;
    if (reader.Next(row)) {
        for (const QByteArray& cell : row.cells) {
            names.append(TrimBlanks(QString::fromUtf8(cell)));
            if (IsDateColumn(names.last()))
                dateColumns.append(static_cast<int>(names.size() - 1));
        }
    }
    RepeatedItemHashes hashes;
    ScanItem item;
    item.source = source;
    while (reader.Next(row)) {
        ++item.number;
        Sha256 raw;
        raw.Add(row.raw);
        item.sha256 = hashes.Of(raw.Result());
        if (items && items->Skip(item)) {
            ++outcome.known;
            continue;
        }
        if (row.cells.size() != names.size()) {
            const QString warning =
                QStringLiteral("%1 line %2: %3 cell(s) where the header has %4; the row is read "
                               "with the cells it has")
                    .arg(fullPath)
                    .arg(row.line)
                    .arg(row.cells.size())
                    .arg(names.size());
            session.ui.MessageBox(warning, MessageIcon::Exclamation);
            if (items)
                items->Warned(item, warning);
        }
        session.Tables.ClearRecordTables();
        int records = 0;
        int dropped = 0;
        // A row of empty cells is still a record, as a response whose
        // values are all empty is.
        try {
            StoreRow(session, names, dateColumns, row, outcome.fileDate, source);
            session.Tables.RemoveBlankRecords();
            records = 1;
        } catch (const RecordTablesError& e) {
            session.ui.MessageBox(e.Message(), MessageIcon::Exclamation);
            dropped = 1;
            ++outcome.dropped;
        }
        bool goOn = true;
        if (records > 0) {
            ++outcome.records;
            goOn = onRecord();
        }
        if (!(items ? items->Done(item, records, dropped) && goOn : goOn)) {
            outcome.stopped = true;
            break;
        }
    }
    if (outcome.records == 0 && outcome.dropped == 0 && outcome.known == 0 && !outcome.stopped)
        TellNoRecord(session, fullPath);
    // A file without a row is read all the same: the ledger keeps a row for it.
    if (item.number == 0 && items && !outcome.stopped && !items->Done(item, 0, 0))
        outcome.stopped = true;
}

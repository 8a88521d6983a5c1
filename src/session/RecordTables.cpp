#include "session/RecordTables.h"

#include "platform/Ui.h"
#include "platform/ResponseText.h"

namespace {

const char* const kCrLf = "\r\n";

std::string Text(const QString& s)
{
    return s.toStdString();
}

} // namespace

RecordTables::RecordTables()
{
    ColumnCount[kHeaderTable] = kHeaderColumns - 1;
    ColumnCount[kFieldTable] = kFieldColumns - 1;
    RowCapacity[kFieldTable] = kInitialCapacity;
    m_fields.resize(kInitialCapacity + 1);
}

bool RecordTables::IsColumnInRange(int table, int column) const
{
    if (table < 0 || table >= kTables || column < 0)
        return false;
    if (table == kHeaderTable || table == kFieldTable)
        return column <= ColumnCount[table];
    return true;
}

QString RecordTables::GetArrayElement(int table, int column) const
{
    if (table > kHeaderTable && table < kTables && CurrentRow[table] >= RowCount[table])
        return {};
    if (!IsColumnInRange(table, column) || (table == kFieldTable && CurrentRow[table] < 0))
        throw RecordTablesError(
            Text(QStringLiteral("Cell %1.%2 does not exist").arg(table).arg(column)) + kCrLf +
            "Program Error: GetArrayElement: Cannot read from table");
    if (table == kHeaderTable)
        return m_header[static_cast<size_t>(column)];
    if (table == kFieldTable)
        return m_fields[static_cast<size_t>(CurrentRow[table])][static_cast<size_t>(column)];
    return {};
}

QString& RecordTables::Cell(int table, int column)
{
    if (table == kHeaderTable)
        return m_header[static_cast<size_t>(column)];
    return m_fields[static_cast<size_t>(CurrentRow[table])][static_cast<size_t>(column)];
}

bool RecordTables::PutArrayElement(int table, int column, const QString& text)
{
    if (!IsColumnInRange(table, column) ||
        (table > kHeaderTable && table < kTables && CurrentRow[table] < 0))
        throw RecordTablesError(
            Text(QStringLiteral("Cell %1.%2 does not exist").arg(table).arg(column)) + kCrLf +
            "Program Error: PutArrayElement: Cannot write to table");
    if (table > kHeaderTable && CurrentRow[table] >= RowCount[table]) {
        if (RowCount[table] >= RowCapacity[table])
            GrowFieldRows(table);
        if (table == kFieldTable && CurrentRow[table] > RowCapacity[table])
            throw RecordTablesError(
                Text(QStringLiteral("Row %1 lies beyond the table").arg(CurrentRow[table])) +
                kCrLf + "Program Error: PutArrayElement: Cannot write to table");
        RowCount[table] = static_cast<qint16>(CurrentRow[table] + 1);
    }
    if (table == kHeaderTable || table == kFieldTable) {
        Cell(table, column) = text;
        if (table == kFieldTable)
            m_rowsTouched = std::max(m_rowsTouched, CurrentRow[table] + 1);
    }
    return true;
}

RecordTablesError RecordTables::TooManyFieldRows()
{
    return RecordTablesError(
        Text(QStringLiteral("A record cannot hold more than %1 field rows").arg(kMaxCapacity)) +
        kCrLf + "Error in Config file, or program error 3");
}

void RecordTables::GrowFieldRows(int table)
{
    const int doubled = (RowCapacity[table] == 0 ? 1 : RowCapacity[table]) * 2;
    if (doubled > kMaxCapacity)
        throw TooManyFieldRows();
    RowCapacity[table] = static_cast<qint16>(doubled);
    if (table == kFieldTable)
        m_fields.resize(static_cast<size_t>(doubled) + 1);
}

void RecordTables::ClearRecordTables()
{
    for (int t = kFieldTable; t < kTables; ++t) {
        RowCount[t] = 0;
        CurrentRow[t] = 0;
    }
    for (QString& cell : m_header)
        cell.clear();
    for (int row = 0; row < m_rowsTouched; ++row) {
        for (QString& cell : m_fields[static_cast<size_t>(row)])
            cell.clear();
    }
    m_rowsTouched = 0;
}

int RecordTables::InsertTableRow(int table)
{
    if (table < kFieldTable || table >= kTables || CurrentRow[table] >= RowCount[table] ||
        CurrentRow[table] < 0)
        return 0;
    try {
        if (RowCount[table] + 1 >= RowCapacity[table])
            GrowFieldRows(table);
        RowCount[table] = static_cast<qint16>(RowCount[table] + 1);
        if (table == kFieldTable) {
            const int current = CurrentRow[table];
            for (int row = RowCount[table] - 1; row > current; --row)
                m_fields[static_cast<size_t>(row)] = m_fields[static_cast<size_t>(row - 1)];
            m_fields[static_cast<size_t>(current)] = FieldRow{};
            m_rowsTouched = std::max<int>(m_rowsTouched, RowCount[table]);
        }
        return table;
    } catch (const RecordTablesError& e) {
        if (m_ui) {
            QString description = e.Message().section(QString::fromLatin1(kCrLf), 0, 0);
            m_ui->MessageBox(QStringLiteral("Error Inserting entry: ") + description,
                             MessageIcon::Exclamation);
        }
        return 0;
    }
}

int RecordTables::RemoveTableRow(int table)
{
    if (table < kFieldTable || table >= kTables || CurrentRow[table] >= RowCount[table] ||
        CurrentRow[table] < 0)
        return 0;
    if (table == kFieldTable) {
        const int last = RowCount[table] - 1;
        for (int row = CurrentRow[table] + 1; row <= last; ++row)
            m_fields[static_cast<size_t>(row - 1)] = m_fields[static_cast<size_t>(row)];
        m_fields[static_cast<size_t>(last)] = FieldRow{};
    }
    RowCount[table] = static_cast<qint16>(RowCount[table] - 1);
    return table;
}

void RecordTables::RemoveBlankRecords()
{
    const auto saved = CurrentRow;
    for (int t = kFieldTable; t < kTables; ++t) {
        int row = 0;
        while (row < RowCount[t]) {
            CurrentRow[t] = static_cast<qint16>(row);
            bool blank = true;
            if (t == kFieldTable) {
                for (int c = 0; c <= ColumnCount[t]; ++c) {
                    const QString cell =
                        TrimBlanks(m_fields[static_cast<size_t>(row)][static_cast<size_t>(c)]);
                    if (!cell.isEmpty() && cell != QStringLiteral("//")) {
                        blank = false;
                        break;
                    }
                }
            }
            if (blank && RemoveTableRow(t) == t)
                continue;
            ++row;
        }
    }
    for (int t = kHeaderTable; t < kTables; ++t)
        CurrentRow[t] = saved[t];
}

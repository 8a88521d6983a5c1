#pragma once

#include "platform/ErrorText.h"

#include <QString>
#include <array>
#include <stdexcept>
#include <vector>

class Ui;

// An impossible operation on the record tables (a cell that does not
// exist, or more field rows than the tables can hold). what() is the whole
// text to show: the description, a line break and the fixed program text.
class RecordTablesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    QString Message() const { return ErrorText(*this); }
};

// The one record held in memory: its header (table 1) and its field rows
// (table 2), all as text, with signed 16-bit counters per table. Tables 0
// and 3 to 7 have counters only.
class RecordTables {
public:
    static constexpr int kTables = 8;
    static constexpr int kHeaderTable = 1;
    static constexpr int kFieldTable = 2;
    static constexpr qint16 kInitialCapacity = 8;
    // Doubling from 8 in 16 bits stops here.
    static constexpr qint16 kMaxCapacity = 16384;

    // Header columns and field-row columns.
    enum HeaderColumn {
        FormIdColumn = 0,
        NameColumn = 1,
        NotesColumn = 2,
        DateColumn = 3,
        SourceColumn = 4
    };
    enum FieldColumn {
        DataIdColumn = 0,
        FieldNameColumn = 1,
        FieldValueColumn = 2,
        FieldFormIdColumn = 3
    };

    RecordTables();

    // Used by InsertTableRow and RemoveTableRow for their messages.
    void SetUi(Ui* ui) { m_ui = ui; }

    std::array<qint16, kTables> RowCount{};
    std::array<qint16, kTables> CurrentRow{};
    std::array<qint16, kTables> RowCapacity{};
    std::array<qint16, kTables> ColumnCount{};

    // Throws RecordTablesError for a cell that does not exist.
    QString GetArrayElement(int table, int column) const;
    // Extends the table when the cursor stands on the first row not in use;
    // throws RecordTablesError when the cell does not exist or the table
    // cannot grow.
    bool PutArrayElement(int table, int column, const QString& text);
    // Whether GetArrayElement/PutArrayElement accept this column of table.
    bool IsColumnInRange(int table, int column) const;

    void ClearRecordTables();
    // Throws TooManyFieldRows() when the capacity would pass kMaxCapacity.
    void GrowFieldRows(int table);
    // The error of a record with more field rows than the tables hold.
    static RecordTablesError TooManyFieldRows();
    int InsertTableRow(int table);
    int RemoveTableRow(int table);
    void RemoveBlankRecords();

    // Convenience reads that do not move the cursor.
    QString Header(int column) const { return m_header[static_cast<size_t>(column)]; }
    QString Field(int row, int column) const
    {
        return m_fields[static_cast<size_t>(row)][static_cast<size_t>(column)];
    }
    int FieldCount() const { return RowCount[kFieldTable]; }

private:
    static constexpr int kHeaderColumns = 6;
    static constexpr int kFieldColumns = 4;
    using FieldRow = std::array<QString, kFieldColumns>;

    QString& Cell(int table, int column);

    std::array<QString, kHeaderColumns> m_header;
    std::vector<FieldRow> m_fields;
    // Rows at or past this index are known to be empty, so clearing a small
    // record after a large one does not sweep the whole grid.
    int m_rowsTouched = 0;
    Ui* m_ui = nullptr;
};

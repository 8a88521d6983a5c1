#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// How the record summary shows its rows beyond the current set: the
// field columns after the five header columns, the column it is sorted
// by and the filter row's texts. Columns are numbered as the grid numbers
// them: 0 to 4 the header columns, then one per field column.
struct SummaryViewState {
    static constexpr int kHeaderColumns = 5;

    QStringList FieldColumns; // the chosen field names, in column order
    QList<int> FieldWidths;   // their widths in pixels (0: the grid's default)
    int SortColumn = -1;      // -1: record-number order
    bool SortDescending = false;
    QMap<int, QString> Filters; // column -> the text typed in its box
    // The FormIDs of the last search result, ascending, while the summary
    // shows one; what sorting and filtering start from.
    std::vector<qint64> SearchResultIds;

    bool Ordered() const { return SortColumn >= 0 || !Filters.isEmpty(); }
    // Forgets the sort and the filters (Clear Search, another database).
    void ClearOrder()
    {
        SortColumn = -1;
        SortDescending = false;
        Filters.clear();
    }
};

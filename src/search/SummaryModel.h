#pragma once

#include "platform/Regional.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <list>
#include <unordered_map>
#include <vector>

namespace SQLite {
class Database;
}
class Ui;

// The record summary's rows: one per record of a list of FormIDs, with
// the five columns of Forms and then a column per chosen field (its first
// value in the record). Only the list is held; the rows' texts are
// read on demand a page at a time, by key (FormID IN (...)), and kept in a
// small cache, so a million records open at once and scroll smoothly.
class SummaryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { RecordId = 0, RecordName, Notes, Date, FileName, ColumnCount };
    // The record a row's record may repeat (a qint64), on the record
    // number column of a row marked as a possible duplicate.
    static constexpr int DuplicateOfRole = Qt::UserRole + 1;
    static constexpr int kPageRows = 128;
    static constexpr int kCachedPages = 48;

    explicit SummaryModel(Regional regional = Regional(), QObject* parent = nullptr);

    // Shows the records whose FormIDs ids lists (in that order), read from
    // table of database. Both must outlive the model or the next
    // SetSource; call Reload after the list changed. A null database shows
    // no rows.
    // The marks of possible duplicates are read with the source.
    void SetSource(SQLite::Database* database, const std::vector<qint64>* ids,
                   const QString& table = QStringLiteral("Forms"));
    // The list or the rows changed: forget every cached row and mark.
    void Reload();
    // The record formId may repeat, or 0.
    qint64 DuplicateOf(qint64 formId) const;

    // Where a failed read is told: "Error reading data: " and the engine's
    // text, once the grid has been drawn, one message for the pages that
    // failed meanwhile.
    void SetUi(Ui* ui) { m_ui = ui; }

    // The field columns after the header columns, by field name.
    void SetFieldColumns(const QStringList& names);
    const QStringList& FieldColumns() const { return m_fieldColumns; }

    // The column the rows are sorted by (-1: none): its caption ends in an
    // arrow, up for ascending, down for descending.
    void SetSortMark(int column, bool descending);

    // The column captions by source field name, for example the captions a
    // form configuration gives its header items.
    void SetCaptions(const QMap<QString, QString>& captionsByField);

    static QString SourceField(int column);
    static QString DefaultCaption(int column);

    qint64 FormIdAt(int row) const;
    // The row of formId, or -1.
    int RowOf(qint64 formId) const;

    // The last error of a read, empty when the last read worked.
    QString LastError() const { return m_lastError; }
    int PagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    using Page = std::vector<QStringList>;
    const Page* FetchPage(int page) const;
    void ReadFieldValues(int first, int last, Page& rows) const;
    void ReportReadError(const QString& error) const;
    void ReadMarks();

    Regional m_regional;
    SQLite::Database* m_db = nullptr;
    const std::vector<qint64>* m_ids = nullptr;
    QString m_table;
    QStringList m_captions;
    QStringList m_fieldColumns;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
    std::unordered_map<qint64, qint64> m_duplicateOf;

    // Least recently used pages at the back.
    mutable std::list<std::pair<int, Page>> m_pages;
    mutable std::unordered_map<int, std::list<std::pair<int, Page>>::iterator> m_pageIndex;
    mutable QString m_lastError;
    Ui* m_ui = nullptr;
    mutable QString m_unreported;
    mutable int m_pagesRead = 0;
};

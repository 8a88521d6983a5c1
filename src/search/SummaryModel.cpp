#include "search/SummaryModel.h"

#include "duplicates/DuplicateMarks.h"
#include "platform/DatabaseConnection.h"
#include "platform/Ui.h"

#include <QHash>
#include <QTimer>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <sqlite3.h>
#include <unordered_map>

namespace {

const char* const kFields[] = {"FormID", "Form_Name", "Form_Notes", "Form_Date", "File_Name"};
const char* const kCaptions[] = {"Record ID", "Record Name [or First Field]", "Notes", "Date",
                                 "Imported from [Filename]"};

} // namespace

SummaryModel::SummaryModel(Regional regional, QObject* parent)
    : QAbstractTableModel(parent), m_regional(std::move(regional))
{
    for (const char* caption : kCaptions)
        m_captions.append(QString::fromLatin1(caption));
}

QString SummaryModel::SourceField(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kFields[column]) : QString();
}

QString SummaryModel::DefaultCaption(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kCaptions[column]) : QString();
}

void SummaryModel::SetSource(SQLite::Database* database, const std::vector<qint64>* ids,
                             const QString& table)
{
    beginResetModel();
    m_db = database;
    m_ids = ids;
    m_table = table;
    m_pages.clear();
    m_pageIndex.clear();
    m_lastError.clear();
    ReadMarks();
    endResetModel();
}

void SummaryModel::SetFieldColumns(const QStringList& names)
{
    if (names == m_fieldColumns)
        return;
    beginResetModel();
    m_fieldColumns = names;
    m_pages.clear();
    m_pageIndex.clear();
    endResetModel();
}

void SummaryModel::SetSortMark(int column, bool descending)
{
    if (column == m_sortColumn && descending == m_sortDescending)
        return;
    m_sortColumn = column;
    m_sortDescending = descending;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void SummaryModel::Reload()
{
    beginResetModel();
    m_pages.clear();
    m_pageIndex.clear();
    ReadMarks();
    endResetModel();
}

void SummaryModel::ReadMarks()
{
    m_duplicateOf.clear();
    if (!m_db)
        return;
    try {
        m_duplicateOf = PossibleDuplicateOf(*m_db);
    } catch (const std::exception& e) {
        m_lastError = EngineErrorText(e, sqlite3_system_errno(m_db->getHandle()));
        ReportReadError(m_lastError);
    }
}

qint64 SummaryModel::DuplicateOf(qint64 formId) const
{
    const auto found = m_duplicateOf.find(formId);
    return found == m_duplicateOf.end() ? 0 : found->second;
}

void SummaryModel::SetCaptions(const QMap<QString, QString>& captionsByField)
{
    for (int c = 0; c < ColumnCount; ++c) {
        const QString caption = captionsByField.value(SourceField(c));
        m_captions[c] = caption.isEmpty() ? DefaultCaption(c) : caption;
    }
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

qint64 SummaryModel::FormIdAt(int row) const
{
    if (!m_ids || row < 0 || row >= rowCount())
        return -1;
    return (*m_ids)[static_cast<size_t>(row)];
}

int SummaryModel::RowOf(qint64 formId) const
{
    if (!m_ids)
        return -1;
    // The list is in ascending FormID order.
    const auto it = std::lower_bound(m_ids->begin(), m_ids->end(), formId);
    if (it != m_ids->end() && *it == formId)
        return static_cast<int>(it - m_ids->begin());
    const auto found = std::find(m_ids->begin(), m_ids->end(), formId);
    return found == m_ids->end() ? -1 : static_cast<int>(found - m_ids->begin());
}

int SummaryModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_db || !m_ids)
        return 0;
    return static_cast<int>(m_ids->size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount + int(m_fieldColumns.size());
}

const SummaryModel::Page* SummaryModel::FetchPage(int page) const
{
    if (const auto found = m_pageIndex.find(page); found != m_pageIndex.end()) {
        m_pages.splice(m_pages.begin(), m_pages, found->second);
        return &found->second->second;
    }
    const int first = page * kPageRows;
    const int last = std::min(first + kPageRows, rowCount());
    Page rows(static_cast<size_t>(last - first), QStringList(columnCount(), QString()));
    try {
        // One statement per page, keyed by FormID: the unused places of the
        // last page are bound to -1, which no record has.
        std::string sql = "SELECT FormID, Form_Name, Form_Notes, Form_Date, File_Name FROM \"" +
                          m_table.toStdString() + "\" WHERE FormID IN (";
        for (int i = 0; i < kPageRows; ++i)
            sql += i == 0 ? "?" : ",?";
        sql += ")";
        SQLite::Statement query(*m_db, sql);
        std::unordered_map<qint64, size_t> places;
        for (int i = 0; i < kPageRows; ++i) {
            const int row = first + i;
            const qint64 id = row < last ? (*m_ids)[static_cast<size_t>(row)] : -1;
            query.bind(i + 1, static_cast<int64_t>(id));
            if (row < last)
                places.emplace(id, static_cast<size_t>(i));
        }
        while (query.executeStep()) {
            const auto place = places.find(query.getColumn(0).getInt64());
            if (place == places.end())
                continue;
            QStringList& texts = rows[place->second];
            for (int c = 0; c < ColumnCount; ++c) {
                const SQLite::Column column = query.getColumn(c);
                QString text = column.isNull() ? QString() : QString::fromUtf8(column.getText());
                if (c == Date && !text.isEmpty()) {
                    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
                    if (date.isValid())
                        text = m_regional.DateToText(date);
                }
                texts[c] = text;
            }
        }
        if (!m_fieldColumns.isEmpty())
            ReadFieldValues(first, last, rows);
        m_lastError.clear();
    } catch (const std::exception& e) {
        m_lastError = EngineErrorText(e, sqlite3_system_errno(m_db->getHandle()));
        ReportReadError(m_lastError);
    }
    ++m_pagesRead;
    m_pages.emplace_front(page, std::move(rows));
    m_pageIndex[page] = m_pages.begin();
    while (static_cast<int>(m_pages.size()) > kCachedPages) {
        m_pageIndex.erase(m_pages.back().first);
        m_pages.pop_back();
    }
    return &m_pages.front().second;
}

void SummaryModel::ReadFieldValues(int first, int last, Page& rows) const
{
    std::string sql = "SELECT FormID, Field_Name, Field_Value FROM Data WHERE FormID IN (";
    for (int row = first; row < last; ++row)
        sql += row == first ? "?" : ",?";
    sql += ") ORDER BY DataID";
    SQLite::Statement query(*m_db, sql);
    std::unordered_map<qint64, size_t> places;
    for (int row = first; row < last; ++row) {
        const qint64 id = (*m_ids)[static_cast<size_t>(row)];
        query.bind(row - first + 1, static_cast<int64_t>(id));
        places.emplace(id, static_cast<size_t>(row - first));
    }
    // Field names compare ignoring letter case, as everywhere in the program.
    QHash<QString, int> columns;
    for (int i = 0; i < m_fieldColumns.size(); ++i)
        columns.insert(m_fieldColumns[i].toLower(), ColumnCount + i);
    std::vector<std::vector<char>> seen(rows.size(), std::vector<char>(m_fieldColumns.size(), 0));
    while (query.executeStep()) {
        const auto place = places.find(query.getColumn(0).getInt64());
        if (place == places.end())
            continue;
        const auto column = columns.find(QString::fromUtf8(query.getColumn(1).getText()).toLower());
        if (column == columns.end())
            continue;
        // A record holding a field twice shows its first value.
        char& taken = seen[place->second][static_cast<size_t>(*column - ColumnCount)];
        if (taken)
            continue;
        taken = 1;
        rows[place->second][*column] = QString::fromUtf8(query.getColumn(2).getText());
    }
}

void SummaryModel::ReportReadError(const QString& error) const
{
    // Rows are read while the grid is drawn, where no window may open.
    if (!m_ui)
        return;
    const bool queued = !m_unreported.isEmpty();
    m_unreported = error;
    if (queued)
        return;
    QTimer::singleShot(0, this, [this] {
        const QString text = std::exchange(m_unreported, QString());
        m_ui->MessageBox(QStringLiteral("Error reading data: ") + text, MessageIcon::Exclamation);
    });
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (index.column() == RecordId && (role == DuplicateOfRole || role == Qt::ToolTipRole)) {
        if (const qint64 repeats = DuplicateOf(FormIdAt(index.row())))
            return role == DuplicateOfRole
                       ? QVariant(repeats)
                       : QVariant(QStringLiteral("Possible duplicate of record %1").arg(repeats));
        if (role == DuplicateOfRole)
            return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const Page* page = FetchPage(index.row() / kPageRows);
    return (*page)[static_cast<size_t>(index.row() % kPageRows)][index.column()];
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        QString caption;
        if (section >= ColumnCount && section < columnCount())
            caption = m_fieldColumns[section - ColumnCount];
        else if (section >= 0 && section < ColumnCount)
            caption = m_captions[section];
        else
            return {};
        if (section == m_sortColumn)
            caption += m_sortDescending ? QStringLiteral(" \u25BC") : QStringLiteral(" \u25B2");
        return caption;
    }
    return {};
}

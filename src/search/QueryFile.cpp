#include "search/QueryFile.h"

#include "platform/IniFile.h"
#include "platform/Numbers.h"

#include <QFile>

namespace {

const QString kProduct = QStringLiteral("Tallowmere");
const QString kSaveError = QStringLiteral("Error saving query file: ");
const QString kLoadError = QStringLiteral("Error loading query file: ");
// Keys of the row sections by column; columns 10 and beyond are not saved.
const char* const kKeys[] = {"OpenB",  "NotOp",     "VB", "Operator", "Value",
                             "CloseB", "Connector", "DB", "Type",     "TableName"};
// The order in which a row's keys are read back.
const int kReadOrder[] = {kOpenBrackets,   kNotColumn,   kFieldNameColumn, kDatabaseFieldColumn,
                          kOperatorColumn, kValueColumn, kCloseBrackets,   kConnectorColumn,
                          kDataTypeColumn, kTableColumn};
// Rows beyond this many are not a query anyone built in the grid.
constexpr qint32 kMaxRows = 32767;

QString RowSection(qsizetype row)
{
    return QStringLiteral("Row ") + QString::number(row);
}

bool NullMeansEmpty(int column)
{
    return column == kOpenBrackets || column == kNotColumn || column == kCloseBrackets ||
           column == kConnectorColumn;
}

FileDialogRequest QueryDialog(const QString& title)
{
    FileDialogRequest request;
    request.title = title;
    request.filters = ParseFileFilters(QueryFileFilter());
    request.selectedFilter = 1;
    request.proposedName = QStringLiteral("*.qry");
    request.defaultExtension = QStringLiteral("qry");
    return request;
}

} // namespace

QString QueryFileFilter()
{
    return QStringLiteral("All Files (*.*)|*.*|") + QStringLiteral("Query Files (*.qry)|*.qry|");
}

bool WriteQueryFile(Ui& ui, const QString& path, const QueryGrid& grid)
{
    QString error;
    // Written key by key as always, into a document that starts empty and
    // replaces the file at the end.
    IniFile::Document document;
    document.Write(
        kProduct, QStringLiteral("Version"),
        QStringLiteral("%1.%2").arg(TALLOWMERE_VERSION_MAJOR).arg(TALLOWMERE_VERSION_MINOR));
    document.Write(kProduct, QStringLiteral("Rows"), NumberWithSignSpace(grid.size()));
    document.Write(kProduct, QStringLiteral("Columns"), NumberWithSignSpace(kShownQueryColumns));
    for (qsizetype r = 0; r < grid.size(); ++r) {
        for (int c = 0; c < kQueryColumnCount; ++c) {
            if (c < int(std::size(kKeys)) && !grid[r][c].isEmpty())
                document.Write(RowSection(r), QLatin1String(kKeys[c]), grid[r][c]);
        }
    }
    if (!document.Save(path, &error)) {
        ui.MessageBox(kSaveError + error, MessageIcon::Exclamation);
        return false;
    }
    ui.SetStatusText(QStringLiteral("Query saved to ") + path);
    return true;
}

bool SaveQueryFile(Ui& ui, const QueryGrid& grid)
{
    const FileDialogResult chosen = ui.SaveFileDialog(QueryDialog(QStringLiteral("Save Query...")));
    if (chosen.cancelled || chosen.paths.isEmpty())
        return false;
    const QString path = chosen.paths.first();
    ui.Yield();
    if (QFile::exists(path)) {
        const MessageAnswer answer =
            ui.MessageBox(QStringLiteral("File ") + path +
                              QStringLiteral(" already exists. Do you wish to overwrite it?"),
                          MessageIcon::Question, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes)
            return false;
    }
    return WriteQueryFile(ui, path, grid);
}

bool ReadQueryFile(Ui& ui, const QString& path, QueryGrid& grid, int& columns,
                   const RecordFieldResolver& resolve)
{
    // Read once: a file of thousands of rows costs in proportion to its size.
    const IniFile::Document file(path);
    const QString columnsText = file.Read(kProduct, QStringLiteral("Columns"));
    const QString rowsText = file.Read(kProduct, QStringLiteral("Rows"));
    const std::optional<qint16> columnCount = ToInt16(LeadingNumber(columnsText));
    const std::optional<qint32> rowCount = ToInt32(LeadingNumber(rowsText));
    if (!columnCount || !rowCount) {
        ui.MessageBox(kLoadError + QStringLiteral("Overflow"), MessageIcon::Exclamation);
        return false;
    }
    // Negative counts and absurd row counts cannot come from a saved grid.
    if (*rowCount <= 0 || *columnCount <= 0 || *rowCount > kMaxRows) {
        ui.MessageBox(path + QStringLiteral(" is an invalid query file"), MessageIcon::Exclamation);
        return false;
    }

    columns = *columnCount;
    grid = QueryGrid(*rowCount);
    for (qint32 r = 0; r < *rowCount; ++r) {
        QueryRow& row = grid[r];
        const QString section = RowSection(r);
        for (const int c : kReadOrder) {
            QString value = file.Read(section, QLatin1String(kKeys[c]));
            if (NullMeansEmpty(c) && value == QLatin1String("NULL"))
                value.clear();
            row[c] = value;
        }
        const RecordFieldLookup field = resolve(row[kDatabaseFieldColumn]);
        switch (field.status) {
        case RecordFieldLookup::Status::NotFound:
            row[kChoicesColumn].clear();
            break;
        case RecordFieldLookup::Status::Failed:
            ui.MessageBox(kLoadError + field.error, MessageIcon::Exclamation);
            return false;
        case RecordFieldLookup::Status::Found:
            row[kDataTypeColumn] = field.dataType;
            row[kChoicesColumn] = field.comboItems;
            break;
        }
    }
    return true;
}

bool LoadQueryFile(Ui& ui, QueryGrid& grid, int& columns, const RecordFieldResolver& resolve)
{
    const FileDialogResult chosen = ui.OpenFileDialog(QueryDialog(QStringLiteral("Load Query...")));
    if (chosen.cancelled || chosen.paths.isEmpty())
        return false;
    ui.Yield();
    return ReadQueryFile(ui, chosen.paths.first(), grid, columns, resolve);
}

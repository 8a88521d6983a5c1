#include "database/RecordTransfer.h"

#include "app/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/RecordWalk.h"
#include "database/RecordWriter.h"
#include "database/ValueConversion.h"

#include <QFileInfo>
#include <stdexcept>

namespace {

using R = RecordTables;
const QString kCrLf = QStringLiteral("\r\n");

bool SameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return a == b || (!ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath());
}

// Writes the record in memory into target as a new record, whole or not
// at all; names is the target's field-names list, extended here.
void CopyRecord(DatabaseConnection& target, const RecordTables& t, const Regional& regional,
                QString& names, QString& storedNames)
{
    SQLite::Database& db = target.Db();
    Savepoint savepoint(db);
    const TableLayout& forms = target.Layout(QStringLiteral("Forms"));
    std::string columns, marks;
    std::vector<ColumnValue> values;
    for (int i = 1; i <= R::SourceColumn && i < static_cast<int>(forms.size()); ++i) {
        columns += (columns.empty() ? "" : ", ") + QuotedName(forms[static_cast<size_t>(i)].name);
        marks += marks.empty() ? "?" : ", ?";
        values.push_back(ConvertForColumn(forms[static_cast<size_t>(i)], t.Header(i), regional));
    }
    SQLite::Statement& header = target.Cached(
        values.empty() ? std::string("INSERT INTO \"Forms\" DEFAULT VALUES")
                       : "INSERT INTO \"Forms\" (" + columns + ") VALUES (" + marks + ")");
    for (size_t i = 0; i < values.size(); ++i)
        BindColumnValue(header, static_cast<int>(i + 1), values[i]);
    header.exec();
    const qint64 formId = db.getLastInsertRowid();

    const TableLayout& data = target.Layout(QStringLiteral("Data"));
    if (data.size() < 4)
        throw std::runtime_error("Table Data lacks columns.");
    SQLite::Statement& entry = target.Cached("INSERT INTO \"Data\" (" + QuotedName(data[1].name) +
                                             ", " + QuotedName(data[2].name) + ", " +
                                             QuotedName(data.back().name) + ") VALUES (?, ?, ?)");
    for (int row = 0; row < t.FieldCount(); ++row) {
        entry.reset();
        entry.clearBindings();
        for (int col = R::FieldNameColumn; col <= R::FieldValueColumn; ++col)
            BindColumnValue(
                entry, col,
                ConvertForColumn(data[static_cast<size_t>(col)], t.Field(row, col), regional));
        entry.bind(3, static_cast<int64_t>(formId));
        entry.exec();
    }

    QString extended = names.trimmed().isEmpty() ? kCrLf : names;
    for (int row = 0; row < t.FieldCount(); ++row) {
        const QString name = t.Field(row, R::FieldNameColumn);
        if (!extended.contains(kCrLf + name + kCrLf, Qt::CaseInsensitive))
            extended += name + kCrLf;
    }
    if (extended != storedNames) {
        SQLite::Statement& list = target.Cached(
            "UPDATE \"Info\" SET \"Value\" = ? WHERE \"KeyID\" = (SELECT \"KeyID\" FROM \"Info\" "
            "WHERE \"Key\" = 'FieldNamesList' ORDER BY \"KeyID\" LIMIT 1)");
        list.bind(1, extended.toStdString());
        list.exec();
    }
    savepoint.Release();
    names = extended;
    storedNames = extended;
}

} // namespace

TransferOutcome WriteRecordsToDB(Session& session, RecordChooser& chooser)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    TransferOutcome outcome;
    const QString cancelled = QStringLiteral("Save cancelled");
    if (!d.CurrentDatabase)
        return outcome;

    chooser.ShowSelectDialog(QStringLiteral("Select records to transfer"));
    if (session.Selection == RecordSelection{RecordSelection::kCancelled, 0}) {
        ui.SetStatusText(cancelled);
        return outcome;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Save Records to Database...");
    request.filters =
        ParseFileFilters(QStringLiteral("All Files (*.*)|*.*|Database Files (*.fdb)|*.fdb|"));
    request.selectedFilter = 1;
    request.proposedName = QStringLiteral("*.fdb");
    request.defaultExtension = QStringLiteral("fdb");
    const FileDialogResult chosen = ui.SaveFileDialog(request);
    if (chosen.cancelled || chosen.paths.isEmpty()) {
        ui.SetStatusText(cancelled);
        return outcome;
    }
    const QString path = chosen.paths.first();
    ui.Yield();
    if (!QFileInfo::exists(path)) {
        if (ui.MessageBox(QStringLiteral("File ") + path + QStringLiteral(" does not exist.") +
                              kCrLf + QStringLiteral("Create new database?"),
                          MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes ||
            !CreateNewDatabase(ui, path)) {
            ui.SetStatusText(cancelled);
            return outcome;
        }
    }

    ui.SetStatusText(QStringLiteral("Saving records to database..."));
    BusyPointer busy(ui);
    ui.Yield();

    const QString namesBefore = d.CurrentFieldNames;
    const QString storedBefore = d.StoredFieldNames;
    const RecordTables recordBefore = session.Tables;
    const std::optional<qint64> positionBefore = d.RecordCursor.Bookmark();
    const bool intoOpenDatabase = SameFile(path, d.CurrentDatabasePath);
    QString targetNames;
    try {
        std::unique_ptr<DatabaseConnection> target = std::make_unique<DatabaseConnection>(path);
        const bool valid = CheckDatabase(session, *target);
        targetNames = d.CurrentFieldNames;
        d.CurrentFieldNames = namesBefore;
        d.StoredFieldNames = storedBefore;
        if (valid) {
            outcome.ran = true;
            target->UseWriteAheadLog();
            if (d.SummaryRecords.Count() == 0) {
                ui.MessageBox(QStringLiteral("No records selected"), MessageIcon::Information);
            } else {
                const std::vector<qint64> ids =
                    RecordsToProcess(session, chooser.SelectedSummaryRows());
                const int total = static_cast<int>(ids.size());
                ProgressRequest progress;
                progress.minimum = 0;
                progress.maximum = total;
                progress.value = 0;
                ui.ShowProgress(progress);
                ui.Yield();
                QString storedNames = targetNames;
                WriteBatch batch(target.get());
                ProgressPacer pacer(ui, total);
                QString error;
                int lost = 0;
                for (int i = 0; i < total; ++i) {
                    if (ui.CancelRequested()) {
                        ui.ClearCancelRequested();
                        break;
                    }
                    if (!ReadRecordToCopy(session, ids[static_cast<size_t>(i)])) {
                        outcome.failed = true;
                        break;
                    }
                    CopyRecord(*target, session.Tables, session.RegionalSettings, targetNames,
                               storedNames);
                    ++outcome.saved;
                    if (!batch.AfterRecord(&error, &lost)) {
                        outcome.saved -= lost;
                        throw std::runtime_error(error.toStdString());
                    }
                    pacer.AfterRecord(i + 1);
                }
                if (!batch.Finish(&error, &lost)) {
                    outcome.saved -= lost;
                    throw std::runtime_error(error.toStdString());
                }
            }
        } else {
            outcome.failed = true;
        }
    } catch (const std::exception& e) {
        // Records copied before the error stay in the target (the batch
        // commits them on its way out).
        outcome.failed = true;
        ui.MessageBox(QStringLiteral("Error saving records: ") + QString::fromUtf8(e.what()),
                      MessageIcon::Exclamation);
    }

    session.Tables = recordBefore;
    if (intoOpenDatabase && outcome.saved > 0) {
        // The open database gained records and perhaps field names.
        if (!targetNames.isEmpty()) {
            d.CurrentFieldNames = targetNames;
            d.StoredFieldNames = targetNames;
            emit session.Events.FieldNamesChanged();
        }
        try {
            d.RecordCursor.Load(*d.CurrentDatabase);
        } catch (const std::exception& e) {
            ui.MessageBox(QStringLiteral("Error saving records: ") + QString::fromUtf8(e.what()),
                          MessageIcon::Exclamation);
        }
        if (!d.SummaryFiltered && ReloadSummary(session, d.SummaryRecords.Bookmark())) {
            d.RecordState &= ~DatabaseState::NoRecords;
        }
    } else {
        d.CurrentFieldNames = namesBefore;
        d.StoredFieldNames = storedBefore;
    }
    if (positionBefore)
        d.RecordCursor.Seek(*positionBefore);
    ui.SetStatusText(QString::number(outcome.saved) + QStringLiteral(" record(s) saved to ") +
                     path);
    if (ui.ProgressVisible())
        ui.CloseProgress();
    return outcome;
}

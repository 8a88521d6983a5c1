#include "database/RecordTransfer.h"

#include "database/ChangeLog.h"
#include "database/SessionChangeLog.h"
#include "session/Session.h"
#include "database/DatabaseCreation.h"
#include "database/DatabaseOpening.h"
#include "database/RecordStream.h"
#include "platform/ProgressPacer.h"
#include "session/RecordChooser.h"
#include "session/RecordSelection.h"
#include "database/RecordWriter.h"
#include "database/ValueConversion.h"
#include "platform/ErrorText.h"

#include <QFileInfo>
#include <SQLiteCpp/Statement.h>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

using R = RecordTables;
const QString kCrLf = QStringLiteral("\r\n");

bool SameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return a == b || (!ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath());
}

// Copies records into the target, each as a new record written whole or
// not at all, with its statements prepared once for the whole transfer.
// The target's field-names list is extended as records come.
class RecordCopier {
public:
    RecordCopier(DatabaseConnection& target, const Regional& regional, const QString& names)
        : m_target(target), m_db(target.Db()), m_regional(regional),
          m_savepoint(m_db, "SAVEPOINT CopyRecord"), m_release(m_db, "RELEASE CopyRecord"),
          m_rollback(m_db, "ROLLBACK TO CopyRecord")
    {
        const TableLayout& forms = target.Layout(QStringLiteral("Forms"));
        std::string columns, marks;
        for (int i = 1; i <= R::SourceColumn && i < static_cast<int>(forms.size()); ++i) {
            m_headerColumns.push_back(forms[static_cast<size_t>(i)]);
            columns +=
                (columns.empty() ? "" : ", ") + QuotedName(forms[static_cast<size_t>(i)].name);
            marks += marks.empty() ? "?" : ", ?";
        }
        m_header.emplace(m_db,
                         m_headerColumns.empty()
                             ? std::string("INSERT INTO \"Forms\" DEFAULT VALUES")
                             : "INSERT INTO \"Forms\" (" + columns + ") VALUES (" + marks + ")");
        const TableLayout& data = target.Layout(QStringLiteral("Data"));
        if (data.size() < 4)
            throw std::runtime_error("Table Data lacks columns.");
        m_dataColumns = {data[R::FieldNameColumn], data[R::FieldValueColumn]};
        m_entry.emplace(m_db, "INSERT INTO \"Data\" (" + QuotedName(data[1].name) + ", " +
                                  QuotedName(data[2].name) + ", " + QuotedName(data.back().name) +
                                  ") VALUES (?, ?, ?)");
        m_names.Reset(names);
    }

    // Writes the record in t into the target as a new record.
    // Returns the record's number in the target.
    qint64 Copy(const RecordTables& t)
    {
        const FieldNameCatalog::Mark before = m_names.Here();
        Run(m_savepoint);
        try {
            const qint64 formId = Write(t);
            Run(m_release);
            return formId;
        } catch (...) {
            try {
                Run(m_rollback);
                Run(m_release);
            } catch (const std::exception&) {
                // The engine has already rolled the whole transaction back.
            }
            m_names.BackTo(before);
            throw;
        }
    }

    const QString& Names() const { return m_names.List(); }

    // Writes the target's list once for a group of records, before the
    // group commits.
    void StoreNames() { StoreFieldNamesList(m_target, m_names); }

private:
    static void Run(SQLite::Statement& statement)
    {
        statement.reset();
        statement.exec();
    }

    // A value converted for a column, remembered for the next record: copied
    // records share most of their dates, file names and field names.
    const ColumnValue& Converted(size_t place, const ColumnInfo& column, const QString& text)
    {
        if (place >= m_recent.size())
            m_recent.resize(place + 1);
        Recent& recent = m_recent[place];
        if (!recent.valid || recent.text != text) {
            recent.value = ConvertForColumn(column, text, m_regional);
            recent.text = text;
            recent.valid = true;
        }
        return recent.value;
    }

    qint64 Write(const RecordTables& t)
    {
        SQLite::Statement& header = *m_header;
        header.reset();
        header.clearBindings();
        for (size_t i = 0; i < m_headerColumns.size(); ++i)
            BindColumnValue(header, static_cast<int>(i + 1),
                            Converted(i, m_headerColumns[i], t.Header(static_cast<int>(i + 1))));
        header.exec();
        const qint64 formId = m_db.getLastInsertRowid();

        SQLite::Statement& entry = *m_entry;
        const size_t entryPlaces = m_headerColumns.size();
        for (int row = 0; row < t.FieldCount(); ++row) {
            entry.reset();
            entry.clearBindings();
            // Only the names are remembered: values are mostly different.
            BindColumnValue(entry, R::FieldNameColumn,
                            row < kRememberedNames
                                ? Converted(entryPlaces + static_cast<size_t>(row),
                                            m_dataColumns[0], t.Field(row, R::FieldNameColumn))
                                : ConvertForColumn(m_dataColumns[0],
                                                   t.Field(row, R::FieldNameColumn), m_regional));
            BindColumnValue(
                entry, R::FieldValueColumn,
                ConvertForColumn(m_dataColumns[1], t.Field(row, R::FieldValueColumn), m_regional));
            entry.bind(3, static_cast<int64_t>(formId));
            entry.exec();
        }

        for (int row = 0; row < t.FieldCount(); ++row)
            m_names.Add(t.Field(row, R::FieldNameColumn));
        return formId;
    }

    struct Recent {
        QString text;
        ColumnValue value;
        bool valid = false;
    };
    static constexpr int kRememberedNames = 256;

    DatabaseConnection& m_target;
    SQLite::Database& m_db;
    const Regional& m_regional;
    FieldNameCatalog m_names;
    std::vector<ColumnInfo> m_headerColumns;
    std::vector<ColumnInfo> m_dataColumns;
    std::vector<Recent> m_recent;
    SQLite::Statement m_savepoint;
    SQLite::Statement m_release;
    SQLite::Statement m_rollback;
    std::optional<SQLite::Statement> m_header;
    std::optional<SQLite::Statement> m_entry;
};

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

    const FieldNameCatalog namesBefore = d.CurrentFieldNames;
    const RecordTables recordBefore = session.Tables;
    const std::optional<qint64> positionBefore = d.RecordCursor.Bookmark();
    const bool intoOpenDatabase = SameFile(path, d.CurrentDatabasePath);
    QString targetNames;
    // The records copied: their numbers here and in the target.
    std::vector<qint64> sourceIds;
    std::vector<qint64> targetIds;
    try {
        std::unique_ptr<DatabaseConnection> target = std::make_unique<DatabaseConnection>(
            path, session.Now, DatabaseAccess::ReadWrite, d.BusyTimeoutMs);
        const bool valid = CheckDatabase(session, *target);
        targetNames = d.CurrentFieldNames.List();
        d.CurrentFieldNames = namesBefore;
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
                RecordCopier copier(*target, session.RegionalSettings, targetNames);
                // The target's change-log entry, saying what arrived and
                // from where, goes with the last group.
                bool finishing = false;
                WriteBatch batch(target.get(), session.Now, [&] {
                    copier.StoreNames();
                    if (finishing && !targetIds.empty())
                        AppendChangeLog(
                            *target, session.Now, ChangeKind::Transfer,
                            QStringLiteral("%1 record(s) arrived from %2, records %3 "
                                           "there")
                                .arg(targetIds.size())
                                .arg(QFileInfo(d.CurrentDatabasePath).absoluteFilePath(),
                                     ChangeLogRecords(sourceIds)),
                            ChangeLogRecords(targetIds));
                });
                ProgressPacer pacer(ui, session.Now, total);
                // Every record must still be in the open database; the walk
                // ends, as reading that record would, at the first one that
                // is not.
                const std::vector<qint64>& present = d.RecordCursor.Ids();
                size_t walk = 0;
                while (walk < ids.size() &&
                       std::binary_search(present.begin(), present.end(), ids[walk]))
                    ++walk;
                const std::vector<qint64> readable(ids.begin(),
                                                   ids.begin() + static_cast<ptrdiff_t>(walk));
                QString error;
                bool writeFailed = false;
                bool stopped = false;
                int lost = 0;
                size_t next = 0;
                const StreamEnd end = RecordStream(session).ReadList(readable, [&](qint64 formId) {
                    if (ui.CancelRequested()) {
                        ui.ClearCancelRequested();
                        stopped = true;
                        return false;
                    }
                    // A record no longer stored has been reported and
                    // skipped by the read: it ends the walk.
                    if (formId != readable[next]) {
                        outcome.failed = true;
                        return false;
                    }
                    ++next;
                    try {
                        targetIds.push_back(copier.Copy(session.Tables));
                        sourceIds.push_back(formId);
                    } catch (const std::exception& e) {
                        error = ErrorText(e);
                        writeFailed = true;
                        return false;
                    }
                    ++outcome.saved;
                    if (!batch.AfterRecord(&error, &lost)) {
                        outcome.saved -= lost;
                        writeFailed = true;
                        return false;
                    }
                    pacer.AfterRecord(static_cast<int>(next));
                    return true;
                });
                targetNames = copier.Names();
                // The records a failed commit lost were not copied.
                targetIds.resize(static_cast<size_t>(std::max(0, outcome.saved)));
                sourceIds.resize(targetIds.size());
                // From here every way out commits the last group, and the
                // entry with it.
                finishing = true;
                if (writeFailed)
                    throw std::runtime_error(error.toStdString());
                if (end == StreamEnd::Failed || (end == StreamEnd::Done && next < readable.size()))
                    outcome.failed = true;
                if (!outcome.failed && !stopped && walk < ids.size()) {
                    ui.MessageBox(QStringLiteral("ReadRecords: Error Reading/Displaying Record: "
                                                 "Record %1 was not found.")
                                      .arg(ids[walk]),
                                  MessageIcon::Exclamation);
                    outcome.failed = true;
                }
                if (!batch.Finish(&error, &lost)) {
                    outcome.saved -= lost;
                    sourceIds.resize(static_cast<size_t>(std::max(0, outcome.saved)));
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
        ui.MessageBox(QStringLiteral("Error saving records: ") + ErrorText(e),
                      MessageIcon::Exclamation);
    }

    session.Tables = recordBefore;
    // The source's own entry: which of its records went where. A transfer
    // into the open database itself has its entry from the target's side.
    if (!intoOpenDatabase && !sourceIds.empty())
        LogChangeToOpenDatabase(session, ChangeKind::Transfer,
                                QStringLiteral("%1 record(s) copied to %2")
                                    .arg(sourceIds.size())
                                    .arg(QFileInfo(path).absoluteFilePath()),
                                ChangeLogRecords(sourceIds));
    if (intoOpenDatabase && outcome.saved > 0) {
        // The open database gained records and perhaps field names.
        if (!targetNames.isEmpty()) {
            d.CurrentFieldNames.Reset(targetNames);
            emit session.Events.FieldNamesChanged();
        }
        try {
            d.RecordCursor.Load(*d.CurrentDatabase);
        } catch (const std::exception& e) {
            ui.MessageBox(QStringLiteral("Error saving records: ") + ErrorText(e),
                          MessageIcon::Exclamation);
        }
        if (!d.SummaryFiltered && ReloadSummary(session, d.SummaryRecords.Bookmark())) {
            d.RecordState &= ~DatabaseState::NoRecords;
        }
    } else {
        d.CurrentFieldNames = namesBefore;
    }
    if (positionBefore)
        d.RecordCursor.Seek(*positionBefore);
    ui.SetStatusText(QString::number(outcome.saved) + QStringLiteral(" record(s) saved to ") +
                     path);
    if (ui.ProgressVisible())
        ui.CloseProgress();
    return outcome;
}

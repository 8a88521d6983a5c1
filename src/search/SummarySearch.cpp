#include "search/SummarySearch.h"

#include "session/Session.h"
#include "database/FieldNamesList.h"
#include "database/RecordReader.h"
#include "output/OutputFieldList.h"
#include "platform/ErrorText.h"
#include "platform/SchemaLines.h"
#include "search/QueryBuilder.h"
#include "search/QuickFind.h"
#include "session/RecordSelection.h"
#include "search/SearchRun.h"
#include "search/SummaryView.h"

#include <QFile>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace {

const QString kProgressText =
    QStringLiteral("Executing query") + QStringLiteral("\r\n") +
    QStringLiteral("Press Ctrl-Break to stop processing. Query processing ") +
    QStringLiteral("may not stop instantly after pressing Ctrl-Break... Please be patient");

enum class Searcher { QuickFind, QueryBuilder };

void SetCount(Session& session, int count)
{
    DatabaseState& d = session.Database;
    if (count == 0)
        d.RecordState |= DatabaseState::NoRecords;
    else
        d.RecordState &= ~DatabaseState::NoRecords;
    emit session.Events.SummaryReloaded(count);
}

// Runs condition into the result file and shows it in the summary; on
// failure shows the message, puts the summary back on the whole database.
bool RunAndShow(Session& session, const SearchCondition& condition, const QString& refused,
                Searcher searcher)
{
    Ui& ui = session.ui;
    DatabaseState& d = session.Database;
    const QString resultPath = session.Folders.SearchResultFile();

    ProgressRequest progress;
    progress.label = kProgressText;
    progress.showBar = false;
    progress.cancellable = true; // Cancel interrupts the running statement
    ui.ShowProgress(progress);
    ui.Yield();

    SearchRunResult run;
    if (refused.isEmpty()) {
        run = RunSearch(d.CurrentDatabasePath, resultPath, condition, ui, session.Now);
    } else {
        run.error = refused;
    }
    if (run.ok) {
        QString error;
        std::vector<qint64> ids = ResultFormIds(resultPath, &error);
        if (!error.isEmpty()) {
            run.ok = false;
            run.error = error;
        } else {
            d.SummaryFiltered = true;
            d.SummaryView.SearchResultIds = ids;
            if (d.SummaryView.Ordered()) {
                ApplySummaryView(session);
            } else {
                d.SummaryRecords.Assign(std::move(ids));
                SetCount(session, d.SummaryRecords.Count());
            }
            const int count = d.SummaryRecords.Count();
            // With nothing found the viewer shows an empty record, not the
            // one it showed before.
            if (count == 0) {
                QString clearError;
                if (!NewResume(session, &clearError)) {
                    run.ok = false;
                    run.error = clearError;
                } else if (searcher == Searcher::QuickFind) {
                    ui.SetStatusText(QStringLiteral("No record found"));
                }
            }
            if (run.ok) {
                if (ui.ProgressVisible())
                    ui.CloseProgress();
                return true;
            }
        }
    }

    if (ui.ProgressVisible())
        ui.CloseProgress();
    if (run.cancelled) {
        ui.ClearCancelRequested();
        ShowWholeDatabase(session);
        ui.SetStatusText(QStringLiteral("Search cancelled: all records are shown"));
        return false;
    }
    if (searcher == Searcher::QuickFind)
        ui.MessageBox(QuickFindMessages::kInvalidQuery + run.error, MessageIcon::Exclamation);
    else
        ui.MessageBox(run.error + QStringLiteral("\r\n") + QueryMessages::kCheckQuery,
                      MessageIcon::Exclamation);
    ShowWholeDatabase(session);
    if (searcher == Searcher::QueryBuilder && d.SummaryRecords.Count() == 0)
        NewResume(session);
    return false;
}

// Builds the criteria of the chosen entry, sets lblFind; empty when the
// field was not found (the message has been shown).
std::optional<QuickFindCriteria> Criteria(Session& session, int entryIndex, const QString& pattern)
{
    SearchState& st = session.Search;
    QuickFindCriteria criteria;
    if (entryIndex >= 0 && entryIndex < st.QuickFindEntries.size()) {
        const QuickFindEntry& entry = st.QuickFindEntries[entryIndex];
        const QList<RecordField>& fields = session.Config.RecordFieldList;
        const QString qualified = entry.itemNumber >= 0 && entry.itemNumber < fields.size()
                                      ? fields[entry.itemNumber].QualifiedName
                                      : QString();
        criteria =
            BuildQuickFindCriteria(entry, qualified, pattern, FormsColumnKinds(session),
                                   session.RegionalSettings, session.Folders.SearchResultFile());
    }
    if (!criteria.fieldFound) {
        session.ui.MessageBox(QuickFindMessages::kFieldNotFound, MessageIcon::Exclamation);
        return std::nullopt;
    }
    st.lblFind = criteria.lblFind;
    return criteria;
}

} // namespace

ColumnKindLookup FormsColumnKinds(Session& session)
{
    return [&session](const QString& column) -> std::optional<SearchValueKind> {
        DatabaseState& d = session.Database;
        if (!d.CurrentDatabase)
            return std::nullopt;
        qint16 kind = kUnknownColumn;
        try {
            kind = FormsColumnKind(*d.CurrentDatabase, column);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        switch (kind) {
        case kUnknownColumn:
            return std::nullopt;
        case kDateColumn:
            return SearchValueKind::Date;
        case kCurrencyColumn:
        case kLongColumn:
            return SearchValueKind::Number;
        default:
            return SearchValueKind::Text;
        }
    };
}

bool FillQuickFindCombo(Session& session)
{
    SearchState& st = session.Search;
    st.QuickFindEntries.clear();
    st.QuickFindSelected = -1;
    // The output field list is rebuilt here too: each record-level field's
    // DataLocation, then each field name.
    const QList<RecordField> fields = session.Config.RecordFieldList;
    QList<RecordLevelField> outputFields;
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].QualifiedName.left(6) != QLatin1String("Forms."))
            continue;
        st.QuickFindEntries.append({fields[i].DisplayName, i});
        QString error;
        if (!ParseConfig(session.Config, fields[i].EntryNumber, &error)) {
            session.ui.MessageBox(QuickFindMessages::kInitError + error, MessageIcon::Exclamation);
            FillOutputFieldList(session.Output, outputFields, QString());
            return false;
        }
        outputFields.append({fields[i].QualifiedName, session.Config.ParsedEntry.DataLocation,
                             fields[i].DisplayName});
    }
    for (const QString& name : SplitFieldNamesList(session.Database.CurrentFieldNames.List()))
        st.QuickFindEntries.append({name, -1});
    FillOutputFieldList(session.Output, outputFields, session.Database.CurrentFieldNames.List());
    if (!st.QuickFindEntries.isEmpty())
        st.QuickFindSelected = 0;
    return true;
}

bool QuickFindSearch(Session& session, int entryIndex, const QString& pattern)
{
    if (!session.Database.CurrentDatabase)
        return false;
    session.ui.StartCommand();
    BusyPointer busy(session.ui);
    const std::optional<QuickFindCriteria> criteria = Criteria(session, entryIndex, pattern);
    if (!criteria)
        return false;
    if (pattern.trimmed().isEmpty()) {
        session.ui.MessageBox(QuickFindMessages::kNoValue);
        return false;
    }
    return RunAndShow(session, criteria->condition, criteria->error, Searcher::QuickFind);
}

bool FindPossibleDuplicates(Session& session)
{
    DatabaseState& d = session.Database;
    if (!d.CurrentDatabase)
        return false;
    session.ui.StartCommand();
    BusyPointer busy(session.ui);
    SearchCondition condition;
    condition.shownStatement = QStringLiteral("Possible duplicates");
    bool marked = false;
    try {
        marked = d.CurrentDatabase->Db().tableExists("DuplicateMarks");
    } catch (const std::exception& e) {
        session.ui.MessageBox(QuickFindMessages::kInvalidQuery + ErrorText(e),
                              MessageIcon::Exclamation);
        return false;
    }
    condition.where =
        marked ? QStringLiteral("Forms.FormID IN (SELECT \"FormID\" FROM main.\"DuplicateMarks\" "
                                "WHERE \"Cleared\" = 0 UNION SELECT \"RepeatsID\" FROM "
                                "main.\"DuplicateMarks\" WHERE \"Cleared\" = 0)")
               : QStringLiteral("0");
    session.Search.lblFind = condition.shownStatement;
    return RunAndShow(session, condition, QString(), Searcher::QuickFind);
}

bool ShowRecordsWhere(Session& session, const SearchCondition& condition)
{
    if (!session.Database.CurrentDatabase)
        return false;
    session.ui.StartCommand();
    BusyPointer busy(session.ui);
    session.Search.lblFind = condition.shownStatement;
    return RunAndShow(session, condition, QString(), Searcher::QuickFind);
}

void ClearSearch(Session& session, int entryIndex, const QString& pattern)
{
    if (!session.Database.CurrentDatabase)
        return;
    session.ui.StartCommand();
    BusyPointer busy(session.ui);
    if (Criteria(session, entryIndex, pattern)) {
        session.Database.SummaryView.ClearOrder();
        ShowWholeDatabase(session);
    }
}

bool RunQueryBuilder(Session& session, QueryCheck* check)
{
    if (!session.Database.CurrentDatabase)
        return false;
    SearchState& st = session.Search;
    const BuiltQuery built =
        BuildQuery(st.QueryRows, st.QueryColumns, session.ui, session.RegionalSettings,
                   FormsColumnKinds(session), session.Folders.SearchResultFile());
    switch (built.outcome) {
    case BuiltQuery::Outcome::Empty:
        ShowWholeDatabase(session);
        return true;
    case BuiltQuery::Outcome::Rejected:
        if (check)
            *check = {true, built.faultRow, built.faultColumn};
        return false;
    case BuiltQuery::Outcome::Ready:
        break;
    }
    st.lblFind = built.condition.shownStatement;
    BusyPointer busy(session.ui);
    return RunAndShow(session, built.condition, QString(), Searcher::QueryBuilder);
}

void ShowWholeDatabase(Session& session)
{
    DatabaseState& d = session.Database;
    d.SummaryFiltered = false;
    d.SummaryView.SearchResultIds.clear();
    if (d.SummaryView.Ordered() && ApplySummaryView(session))
        return;
    if (d.CurrentDatabase) {
        try {
            d.SummaryRecords.Load(*d.CurrentDatabase);
        } catch (const std::exception& e) {
            session.ui.MessageBox(QStringLiteral("Error reading data: ") + ErrorText(e),
                                  MessageIcon::Exclamation);
        }
    }
    SetCount(session, d.SummaryRecords.Count());
}

void DeleteSearchResultFile(Session& session)
{
    const QString path = session.Folders.SearchResultFile();
    if (QFile::exists(path))
        QFile::remove(path);
}

void RefreshResultRow(Session& session, qint64 formId)
{
    DatabaseState& d = session.Database;
    const QString path = session.Folders.SearchResultFile();
    if (d.CurrentDatabasePath.isEmpty() || !QFile::exists(path))
        return;
    try {
        SQLite::Database result(path.toStdString(), SQLite::OPEN_READWRITE);
        SQLite::Statement attach(result, "ATTACH DATABASE ? AS source");
        attach.bind(1, d.CurrentDatabasePath.toStdString());
        attach.exec();
        SQLite::Statement update(
            result, "UPDATE main.Forms SET (Form_Name, Form_Notes, Form_Date, File_Name) = "
                    "(SELECT Form_Name, Form_Notes, Form_Date, File_Name FROM source.Forms "
                    "WHERE source.Forms.FormID = ?1) WHERE FormID = ?1");
        update.bind(1, static_cast<int64_t>(formId));
        update.exec();
        result.exec("DETACH DATABASE source");
    } catch (const std::exception& e) {
        session.ui.MessageBox(QStringLiteral("Error updating the search result: ") + ErrorText(e),
                              MessageIcon::Exclamation);
    }
    emit session.Events.SummaryReloaded(d.SummaryRecords.Count());
}

#pragma once

#include <QObject>
#include <QString>

// What the program's logic tells its windows. Core code emits these at the
// moments the windows must follow it; the windows connect to them.
class SessionEvents : public QObject {
    Q_OBJECT

signals:
    // A database was opened: captions "Summary <path>" and "Record Viewer
    // <path>", the commands that need a database enabled, the summary in front.
    void DatabaseOpened(const QString& path);
    // The shell adds the path to its recent-files list.
    void RecentFileUsed(const QString& path);
    // The summary's rows were reloaded (show the count, redraw the grid).
    void SummaryReloaded(int recordCount);
    // The summary's current row is the record with this FormID.
    void SummaryCurrentRowChanged(qint64 formId);
    // A header was written while the summary shows a search result: the
    // result file's copy of that row must be brought up to date.
    void FilteredSummaryRowWritten(qint64 formId);
    // The viewer's boxes and field grid are to be emptied.
    void DisplayCleared();
    // The record in memory changed (read from the file or emptied): the
    // viewer fills its boxes and field grid from it.
    void RecordLoaded();
    void ValueBoxEnabled(bool enabled);
    // The field-names list changed: Quick Find rebuilds its list.
    void FieldNamesChanged();
    // The record viewer window (and with it the database) must close.
    void ViewerMustClose();
};

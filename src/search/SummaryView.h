#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Session;

// The summary's sort, filter row and field columns over its current set
// (the whole database or the last search result). What they leave, in the
// order shown, becomes the summary's rows (session.Database.SummaryRecords),
// so navigation, Select Records, delete, transfer and output follow it.

// A filter box whose text filters nothing, and why.
struct SummaryFilterFault {
    int column = -1;
    QString message; // "Filter of <caption>: <reason>"
    bool operator==(const SummaryFilterFault&) const = default;
};

// The caption of a column: the configuration's or the default one for a
// header column, the field name for a field column.
QString SummaryColumnCaption(const Session& session, int column);
// The column of a header column's caption (its default one also, with or
// without the part in brackets: "Record Name") or source field name, or of
// a field column's name (letter case ignored), or -1.
int SummaryColumnNamed(const Session& session, const QString& name);

// Reads the rows again from the current set through the sort and the
// filters, keeping the current record when it is still shown. An invalid
// filter text is left out (faults tells which and why; the first is shown
// in the status bar); "No record found" when nothing is left. False on an
// engine error, after its message, with the current set shown unsorted.
bool ApplySummaryView(Session& session, QList<SummaryFilterFault>* faults = nullptr);

// Sorts by column (-1: record-number order), ascending or descending.
bool SortSummary(Session& session, int column, bool descending);
// A click on a heading: ascending, then descending, then record order.
bool SortSummaryByHeading(Session& session, int column);
// Sets the text of a column's filter box (blank: no filter).
bool FilterSummary(Session& session, int column, const QString& text,
                   QList<SummaryFilterFault>* faults = nullptr);

// The chosen field columns in order, with their widths: kept in the
// database. Sort and filters of the columns kept follow them; those of
// columns removed go. False after "Error saving the summary's columns: "
// and the engine's text, nothing changed.
bool SetSummaryFieldColumns(Session& session, const QStringList& names, const QList<int>& widths);

// The field columns' widths after the user resized them: kept in the
// database with the columns; the rows are not read again.
bool SaveSummaryFieldWidths(Session& session, const QList<int>& widths);

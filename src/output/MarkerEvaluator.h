#pragma once

#include "output/TemplateSyntax.h"

#include <QString>

class Session;
class RecordTables;
struct OutputState;

// What a marker (or a line specification) evaluates to: the replacement
// text and the numbers of its last value part (A is the table, B the
// column, C the flags, D the page column).
struct MarkerValue {
    QString text;
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
};

// How inserted values are prepared for the target.
enum class ValueStyle { Plain, Html };

// Evaluates a marker's text against the record in session.Tables. Quiet
// evaluations (measuring passes) show no messages.
MarkerValue EvaluateMarker(Session& session, const QString& markerText,
                           ValueStyle style = ValueStyle::Plain, bool quiet = false);

// Whether the field with this key (a header cell "1.N" or a field name) is
// chosen for output; keys missing from OutputFieldList count as chosen.
bool IsFieldSelected(const OutputState& state, const QString& key);

// A date value as reports print it, header and field dates alike: "Jan 5,
// 1998". Values that are not dates, or are numbers, come back unchanged.
QString ReformatDate(Session& session, const QString& value);

// Whether a line with this evaluated line specification is shown.
bool LineIsShown(const MarkerValue& lineSpec, const RecordTables& tables);

// HTML text for an inserted value: <, >, & and " escaped, CR LF as "<BR>".
QString HtmlValue(const QString& value);

// Saves the row cursors of tables 1 to 7 and sets them to 0; puts them back
// when it goes.
class RowCursorGuard {
public:
    explicit RowCursorGuard(RecordTables& tables);
    ~RowCursorGuard();
    RowCursorGuard(const RowCursorGuard&) = delete;
    RowCursorGuard& operator=(const RowCursorGuard&) = delete;

private:
    RecordTables& m_tables;
    qint16 m_saved[8] = {};
};

// Repeats a block over the rows of table a: true (and the cursor moved on)
// while rows remain.
bool NextRepetition(RecordTables& tables, int a);

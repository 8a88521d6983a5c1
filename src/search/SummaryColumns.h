#pragma once

#include <QList>
#include <QString>

class ProgramFolders;

// Which of the summary's columns are shown, kept in the settings file as
// blank-separated source field names: DefaultColumnsToShow (the columns of
// the window's initial layout) and ColumnsToShow (the user's choice).
namespace SummaryColumns {

// The source field names of the columns, in column order.
QList<QString> SourceFields();

// The columns shown in the window's initial layout: all but the file name.
QList<bool> InitialVisibility();

// The setting text of a visibility list: the source field names of the
// visible columns joined by single blanks.
QString ColumnsText(const QList<bool>& visible);

// The visibility of each column for a setting text: shown when its source
// field name occurs anywhere in the text (a substring test, not a word
// match). A blank text gives an empty list (keep the layout as it is).
QList<bool> VisibilityFor(const QString& columnsToShow);

// Window load: reads (and when blank builds from initial) and writes back
// DefaultColumnsToShow, then reads ColumnsToShow (blank: the default) and
// returns the visibility to apply, or initial when nothing applies. On a
// settings-file error *error gets "Error reading/writing Tallowmere.ini: "
// and the reason.
QList<bool> LoadVisibility(const ProgramFolders& folders, const QList<bool>& initial,
                           QString* error);

// Window close: writes ColumnsToShow from the visible columns. On failure
// *error gets "Configuration could not be saved to Tallowmere.ini: " and
// the reason.
bool SaveVisibility(const ProgramFolders& folders, const QList<bool>& visible, QString* error);

} // namespace SummaryColumns

#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct CliContext;

// The summary's sort and filter row on the command line:
// --sort [-]COLUMN (a leading "-" for descending) and any number of
// --where COLUMN FILTER, COLUMN a header caption ("Date", "Record ID") or
// a field name, FILTER what the filter box would hold.
struct CliSummaryOrder {
    QString sort;
    QList<QPair<QString, QString>> where;
    bool Given() const { return !sort.isEmpty() || !where.isEmpty(); }
};

// Takes the options out of args; false with *usage when one lacks its
// values.
bool TakeSummaryOrder(QStringList& args, const QString& verb, CliSummaryOrder* order,
                      QString* usage);

// The field names as the open database's field-names list spells them
// (letter case ignored); an unknown one is named in *unknown.
bool KnownFieldNames(CliContext& context, const QStringList& names, QStringList* known,
                     QString* unknown);

// Sorts and filters the summary's current set (the whole database, or
// the records a search found) with fieldColumns as its field columns,
// plus any field a column names; the summary then lists the records in
// that order as a search result does. Returns an exit status: a usage
// error for an unknown column or an invalid filter, after its message.
int ApplySummaryOrder(CliContext& context, const CliSummaryOrder& order,
                      const QStringList& fieldColumns);

#pragma once

#include <QString>
#include <QStringList>

// The names of a database's field-names list (each name ended by CR LF) as
// the field choosers of searches and output offer them: names of at least
// two characters, in order; text after the last carriage return is ignored.
QStringList SplitFieldNamesList(const QString& fieldNamesList);

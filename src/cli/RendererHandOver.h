#pragma once

#include <QString>
#include <QStringList>

struct CliContext;

// Runs "tallowmere-pdf [--verbose] VERB ARGS" on this program's standard
// streams, with this program's folder, and returns its exit status. what
// names the work in the message given when that program is missing ("a PDF
// export").
int HandOverToRenderer(CliContext& context, const QString& verb, const QStringList& args,
                       const char* what);

#pragma once

#include <QStringList>

struct CliContext;

// Runs "tallowmere-pdf [--verbose] export ARGS" on this program's standard streams, with
// this program's folder, and returns its exit status.
int HandPdfExportOver(CliContext& context, const QStringList& args);

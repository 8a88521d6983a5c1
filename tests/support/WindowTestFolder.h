#pragma once

#include <QString>
#include <QStringList>

class TempDir;

// What the window tests put in their program folder before the main window
// starts: the shipped configuration, and the report templates in their
// stored form.
enum class Templates { None, Record, All };
void PrepareProgramFolder(const TempDir& dir, Templates templates);

// Creates the database name in dir through the command line and imports the
// named sample response files into it, in order ("feedback.txt" gives
// records 1-12, "guestbook.txt" the next 12); returns its path. A failing
// step fails the test that asked.
QString MakeSampleDatabase(const TempDir& dir, const QString& name,
                           const QStringList& samples = {QStringLiteral("feedback.txt")});

#pragma once

#include <QString>

class ProgramFolders;
struct OutputState;

// The Output Options dialog's remembered choices: the formula protection
// and the keeping of records on one page, from the settings file (each
// ticked unless it says "0").
void ReadOutputChoices(const ProgramFolders& folders, OutputState& output);
// Remember each choice as the dialog leaves it.
bool WriteProtectFormulas(const ProgramFolders& folders, bool protect, QString* error = nullptr);
bool WriteKeepRecordsWhole(const ProgramFolders& folders, bool keep, QString* error = nullptr);

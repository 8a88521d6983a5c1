#pragma once

#include "cli/Verbs.h"

#include <QString>
#include <span>

// Every verb of the command line, in the order the help lists them. Help,
// the manual page and the shell completion are all checked against it.
std::span<const Verb> VerbTable();
// The verb called name, or nullptr.
const Verb* FindVerb(const QString& name);

#pragma once

#include "session/ReportTemplates.h"

class Session;

// Builds session.Output.Templates from the *.rpt files of the program and
// writable folders and offers to convert every template still in plain form.
void ListTemplates(Session& session);

#pragma once

#include <QString>

class Session;

// The delimiter a delimiter box text stands for: "Comma", "Semi-Colon",
// "Tab" and "Space" (in any letter case, blanks around ignored) give ",",
// ";", tab and blank; any other text is used exactly as typed.
QString DelimiterFromName(const QString& boxText);

// One line of the selected fields of the record in session.Tables, header
// entries first, separated by delimiter, left in session.Output.OutputText.
// Values are written as stored: no date reformatting and no escaping beyond
// the options.
bool BuildDelimitedLine(Session& session, bool useQuotes, bool removeLineBreaks, bool replaceQuotes,
                        const QString& delimiter);

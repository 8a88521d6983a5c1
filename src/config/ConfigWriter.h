#pragma once

class Session;

// Saves the entries of session.Config (0 to LastEntryIndex, as they were
// read, without the comments between them) to a file the user chooses,
// asking before an existing file is overwritten. The file is written in
// UTF-8 with line feeds alone; reading it back gives the same entries.
// Every outcome is told by the status text.
void SaveConfigFile(Session& session);

#pragma once

#include <QString>

class Session;

// Checks the text of one viewer control against the rules of its entry in
// session.Config: the required-field warning (only with checkRequired),
// then date, number or length by the entry's data type. A control is known
// by its tag: "k" for header item k, a letter, section s, "." and row r
// ("G0.1") for a grid row; an empty tag, or a place no entry configures,
// has no rules. Shows what is wrong and returns false when the user must
// correct the text (the viewer then puts the focus back on the control).
bool CheckField(Session& session, const QString& tag, const QString& text, bool checkRequired);

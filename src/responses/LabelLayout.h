#pragma once

#include "responses/FormField.h"

#include <QString>
#include <QStringList>

// Notification mail of form services and site plugins: "Label: value" one
// pair a line, or a line "Label:" followed by the lines of its value. Such
// lines are common in ordinary mail too (forwarded headers, signatures), so
// they are read only from a message whose subject says it is a form
// notification, and only when it holds at least kMinLabelLines of them.
//
// A label starts with a letter, runs up to 40 characters of at most five
// words and holds no ":"; the colon ends the line or is followed by a
// blank. After "Label: value" the lines up to the next blank or label line
// continue the value; after "Label:" alone every line up to the next label
// line is the value, blank lines kept inside and dropped at its ends. Text
// before the first label is the service's, and a "-- " or "--" line ends
// the fields.
constexpr int kMinLabelLines = 3;

// Whether a subject says its message is a form notification: it has one of
// the words "form", "submission", "enquiry", "inquiry", or "new entry",
// "new response".
bool IsFormNotificationSubject(const QString& subject);

// The fields of the label lines; empty when there are fewer than
// kMinLabelLines.
FormFields ReadLabelLines(const QStringList& lines);

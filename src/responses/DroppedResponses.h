#pragma once

#include <QStringList>

class QMimeData;

// What was dropped on the main window, as the import sees it: response
// files (a file manager's selection, or a message a mail program hands
// over as a file), else a text that holds a response (a message dragged
// out as text, or a selection from another program).
struct DroppedResponses {
    QStringList files; // local paths, in the order of the drop
    QString text;      // only when no file was dropped
    bool Empty() const { return files.isEmpty() && text.isEmpty(); }
};

// Local files win over text: a file manager also offers the paths as text.
// A whole message (message/rfc822) is read as text with the program's rule
// for bytes.
DroppedResponses ReadDroppedResponses(const QMimeData& data);

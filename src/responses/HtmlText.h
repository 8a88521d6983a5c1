#pragma once

#include <QByteArray>
#include <QList>

// A table row of exactly two cells (th or td): a label and its value, as
// form services lay out their notification mail. Each cell's text is read
// as HtmlToText reads the page, trimmed, the label's trailing ":" dropped.
struct HtmlTableRow {
    QByteArray label;
    QByteArray value;
};

// The text an HTML mail part shows, as UTF-8 lines: tags removed, entities
// decoded, script and style dropped, a line break for <br> and around
// every block (paragraph, div, table row, list item...). Blanks run
// together as a browser shows them, but a break in the source stays a
// break, so a response wrapped over source lines reads as it would in a
// plain message. html must be UTF-8.
// With rows, the two-cell table rows are added to it from the same parse.
QByteArray HtmlToText(const QByteArray& html, QList<HtmlTableRow>* rows = nullptr);

#pragma once

#include <QByteArray>

// The text an HTML mail part shows, as UTF-8 lines: tags removed, entities
// decoded, script and style dropped, a line break for <br> and around
// every block (paragraph, div, table row, list item...). Blanks run
// together as a browser shows them, but a break in the source stays a
// break, so a response wrapped over source lines reads as it would in a
// plain message. html must be UTF-8.
QByteArray HtmlToText(const QByteArray& html);

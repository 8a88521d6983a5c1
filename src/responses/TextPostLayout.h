#pragma once

#include "responses/FormField.h"

#include <QByteArrayView>
#include <QStringList>

// A browser's enctype="text/plain" mailto post: one "name=value" line a
// field, nothing encoded, each value as it was typed. A line starts a field
// when it begins with a plausible field name (a letter or "_", then up to
// 63 letters, digits or "_ . - [ ]") and "="; any other line continues the
// value before it, so a textarea's own line breaks are kept, and the first
// "=" of a line ends the name, so a value may hold "=". Text before the
// first field is the mail program's, and a "-- " line (a signature) ends the
// post; blank lines at the end of the last value are dropped.

// Whether lines hold such a post: two field lines in a row, and no line of
// their paragraph a URL-encoded body (one a form encoding could have
// written that joins pairs with "&"), and not every value starting "3D"
// (quoted-printable left undone).
// Looked at as bytes: every message's text passes here.
bool LooksLikeTextPost(QByteArrayView text);

// The fields of the post; empty when there is none.
FormFields ReadTextPost(const QStringList& lines);

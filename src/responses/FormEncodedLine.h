#pragma once

#include <QByteArrayView>

// The rule that keeps ordinary mail from giving records: in a mail message
// a line is part of a URL-encoded body only if a browser's form encoding
// could have written it. That encoding leaves letters, digits and
// "% + & = * - . _" as they are (older browsers also "! ' ( ) ~"), and bytes
// beyond ASCII pass when a mail program sent the form unencoded in its own
// charset. Blanks, quotes, angle brackets, ":" "/" "?" and the like never
// come out of it, and they are what tracking-pixel URLs, header fragments
// and undecoded quoted-printable are made of.
bool CouldBeFormEncoded(QByteArrayView trimmedLine);

// Whether a trimmed line can start a URL-encoded body in a mail message:
// it could be form encoded and holds a name=value pair whose name is not
// empty, and it is not quoted-printable left undone (every "=" written
// "=3D").
bool StartsFormEncodedBody(QByteArrayView trimmedLine);

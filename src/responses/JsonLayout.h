#pragma once

#include "responses/FormField.h"

#include <QByteArray>
#include <QString>

// A body that is one JSON object, as some form services send. Fields come
// in the order the object writes them; a nested object's fields are named
// "outer.inner", an array's items are joined with ", " (an object or array
// among them written as compact JSON), and null is an empty value.

// Whether the body is meant as JSON: its first character that is not
// blank is "{".
bool LooksLikeJson(const QByteArray& body);

// The fields of the object; false with error (the parser's own text and
// where it stopped) when the body is not one whole JSON object, so a
// malformed body never gives a part of its fields.
bool ReadJsonFields(const QByteArray& body, FormFields* fields, QString* error);

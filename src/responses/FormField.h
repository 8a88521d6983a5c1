#pragma once

#include <QList>
#include <QString>

// One field of a response read from a layout other than a URL-encoded body.
struct FormField {
    QString name;
    QString value;
};
using FormFields = QList<FormField>;

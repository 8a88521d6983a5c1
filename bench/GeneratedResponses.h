#pragma once

// The form responses the import benchmarks generate: ten fields of a
// feedback form, their values URL-encoded as a browser sends them, varied
// by record number so that no two records are alike.
#include <QByteArray>

namespace bench {

constexpr int kFields = 10;
inline const char* const kNames[kFields] = {"Name",    "E-mail", "Phone",   "Street", "City",
                                            "Country", "Age",    "Product", "Rating", "Comments"};

inline QByteArray Value(int record, int field)
{
    switch (field) {
    case 0:
        return "Person+" + QByteArray::number(record);
    case 1:
        return "person" + QByteArray::number(record) + "%40example.org";
    case 2:
        return "%2B44+20+7946+" + QByteArray::number(record % 10000);
    case 3:
        return QByteArray::number(record % 300) + "+High+Street";
    case 4:
        return record % 2 ? "London" : "Z%FCrich";
    case 5:
        return "United+Kingdom";
    case 6:
        return QByteArray::number(18 + record % 60);
    case 7:
        return "Widget+" + QByteArray::number(record % 12);
    case 8:
        return QByteArray::number(record % 5 + 1);
    default:
        return record % 3 ? QByteArray("Fine+service%2C+thanks.")
                          : QByteArray("First+line%0D%0ASecond+line%0D%0AThird+line");
    }
}

// One response body: every field as name=value, joined by "&".
inline QByteArray Body(int record)
{
    QByteArray body;
    for (int f = 0; f < kFields; ++f)
        body += (f ? "&" : "") + QByteArray(kNames[f]) + "=" + Value(record, f);
    return body;
}

} // namespace bench

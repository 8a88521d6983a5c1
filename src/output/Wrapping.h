#pragma once

#include "session/OutputCaches.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

struct WrappedLine {
    QString text;
    bool moreLines = false;
};

// Line k (from 1) of value laid out in a column width characters wide. A
// word is a run of blanks and the non-blank characters after it; a word
// wider than the column is cut; a CR LF in the value ends a line; lines
// after a wrap are trimmed. Lines beyond the last are empty.
WrappedLine WrapLine(WrapCache& cache, const QString& value, int table, int column, int width,
                     int k);

// How wide a piece of text is, in the units of the column width: characters
// for text output, points in a font for pages.
using TextMeasure = std::function<double(QStringView)>;

// The same with the width measured by measure; a word wider than the column
// keeps the longest beginning that fits (at least one character).
WrappedLine WrapLine(WrapCache& cache, const QString& value, int table, int column, double width,
                     const TextMeasure& measure, int k);

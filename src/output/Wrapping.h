#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

// The value a renderer wrapped last and how far it got, so asking for line
// k+1 of the same value continues where line k stopped.
struct WrapCache {
    int table = -1;
    int column = -1;
    double width = -1;
    QString value;
    qsizetype position = 0;
    int linesProduced = 0;
    bool afterWrap = false;   // the next line follows a wrap and is trimmed
    bool pendingLine = false; // a line break was passed: one more line exists
    // The line produced last and whether more followed it, so asking for
    // the same line again (the measuring and the writing pass) costs nothing.
    QString lastLine;
    bool lastMore = false;
    // The other values of the same lines, most recent last: a line of
    // several markers asks for each in turn, and each continues where it
    // was instead of starting over.
    std::vector<WrapCache> others;
};

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

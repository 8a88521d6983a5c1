#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// What the renderers keep between records of one run.

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

// How a renderer cuts a template body into blocks: the HTML renderer ends a
// block at every "||"; the text and page renderers only at a "||" followed
// by a line break, so a block there holds lines.
enum class BlockStyle { Html, Lines };

// A body's blocks, cut once and kept: a run renders the same template for
// every record.
struct CutBlocksCache {
    QString body;
    BlockStyle style = BlockStyle::Lines;
    QStringList blocks;
    bool valid = false;
};

// One part of a marker.
struct MarkerPart {
    enum class Kind { Value, Named, Bullet, ItemNumber, Invalid };
    Kind kind = Kind::Value;
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    bool hasLeadIn = false;
    QString leadIn;
    QString name; // Named parts
};

// Markers parsed once and kept by their text; a template has few markers
// and a run evaluates each once a record. Bounded, for hostile templates.
struct MarkerPartsCache {
    QHash<QString, QList<MarkerPart>> parsed;
};

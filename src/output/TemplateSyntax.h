#pragma once

#include "session/OutputCaches.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The complete blocks of a body, each ended by "||"; text after the last
// block end is not a block. A block with an odd number of bars gets one
// more at its end, so a marker closed by the block end stays closed.
QStringList CutBlocks(const QString& body, BlockStyle style);

QStringList CutBlocks(CutBlocksCache& cache, const QString& body, BlockStyle style);

// The lines of a block (split at CR; the LF after it is dropped).
QStringList BlockLines(const QString& block);

// A line (or an HTML block) split into its content and its line specification:
// the text between a final "{...}", else its last 9 characters, else
// "00.00.000". ok is false for a final "}" without a "{".
struct LineSpec {
    QString content;
    QString lineSpec;
    bool ok = true;
};
LineSpec SplitLineSpec(const QString& line);

// Flag bits of a marker or line specification.
namespace MarkerFlag {
constexpr int Bold = 1;
constexpr int Italic = 2;
constexpr int Underline = 4;
constexpr int NoFill = 8; // markers: no fill, drop all-empty lines; lines: new page
constexpr int RightAlign = 16;
constexpr int Centre = 32;
constexpr int Size10 = 64;
constexpr int Size12 = 128;
constexpr int ToRightEdge = 256;
} // namespace MarkerFlag

// The parts of a marker's text (or a line specification): trimmed, split at
// blanks outside double quotes.
QList<MarkerPart> ParseMarkerParts(const QString& markerText);

QList<MarkerPart> ParseMarkerParts(MarkerPartsCache& cache, const QString& markerText);
MarkerPart ParseMarkerPart(const QString& part);

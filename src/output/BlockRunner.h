#pragma once

#include <QString>
#include <QStringView>
#include <functional>

class Session;

// Goes through a line's content from left to right: literal text and the
// text of each marker (between two bars). False at a marker without its
// closing bar; what came before it has been visited.
bool ScanContent(const QString& content, const std::function<void(QStringView literal)>& literal,
                 const std::function<void(const QString& markerText)>& marker);

// How a line or a block ended: drawn, failed (its message shown), or
// stopped on purpose (the page wanted is complete).
enum class BlockOutcome { Rendered, Failed, Stopped };

// Renders one line; sets lastA to A of the last marker it evaluated.
using LineStep = std::function<BlockOutcome(const QString& line, int* lastA)>;

// Renders a block line by line and repeats it over the rows of the table
// its last marker read, numbering the passes in ItemNumber.
BlockOutcome RunBlock(Session& session, const QString& block, const LineStep& line);

#pragma once

#include <QString>
#include <functional>

struct ChartData;

// Writes a chart as a PNG or SVG file by the name's suffix, width × height
// pixels; false with the reason in *error. Set only in tallowmere-pdf, which links the painter:
// tallowmere-cli hands a stats --chart over to it.
using ChartSaver = std::function<bool(const ChartData& chart, const QString& path, int width,
                                      int height, QString* error)>;

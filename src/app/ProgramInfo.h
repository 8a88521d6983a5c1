#pragma once

#include <QString>

// The program's name, title line and version as the About window and the
// command line show them.
namespace ProgramInfo {
inline QString Name()
{
    return QStringLiteral("Tallowmere");
}
inline QString TitleLine()
{
    return QStringLiteral("A database for HTML form responses");
}
inline QString Version()
{
    return QStringLiteral("%1.%2.%3")
        .arg(TALLOWMERE_VERSION_MAJOR)
        .arg(TALLOWMERE_VERSION_MINOR)
        .arg(TALLOWMERE_VERSION_PATCH);
}
} // namespace ProgramInfo

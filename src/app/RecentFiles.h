#pragma once

#include <QString>
#include <QStringList>

// The list of recently opened databases, kept in the per-user settings store
// (organization and application "Tallowmere", group "Recent Files", keys
// "RecentFile1" to "RecentFile4", the most recent first).
namespace RecentFiles {

inline constexpr int kMaxEntries = 4;

// Records path as the most recent database. A path already among the first
// three entries (compared without regard to letter case) leaves the list
// as it is; otherwise every entry moves down one place and the fourth
// falls off.
void AddRecentFile(const QString& path);

// What the File menu shows: the stored paths in the order the store gives
// them, RecentFile1 first. Empty while RecentFile1 is not set, so the
// menu items stay hidden.
QStringList RecentFilesMenuItems();

// Forgets every entry (tests and a fresh start).
void ClearRecentFiles();

} // namespace RecentFiles

#pragma once

// How many configurable places the record viewer has. The form
// configuration's placement tables are sized by these numbers, and a
// configuration entry placed beyond them is refused when the file is loaded.
namespace ViewerLayout {

// Header items 0 .. kHeaderItems - 1: one per column of the record header
// (record number, name, notes, date, source and the spare column). Item 0
// is the read-only record number box.
inline constexpr int kHeaderItems = 6;

// Captioned frames 0 .. kFrames - 1 (frame 0 is the editing panel).
inline constexpr int kFrames = 4;

// Grid sections 0 .. kGridSections - 1, each a field list with its editor
// rows 0 .. kGridRows - 1. Section 0 lists the record's fields; its rows
// edit the field name and the field value.
inline constexpr int kGridSections = 4;
inline constexpr int kGridRows = 8;

} // namespace ViewerLayout

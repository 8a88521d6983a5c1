#pragma once

struct sqlite3;

// Teaches a connection the program's search language:
// - LIKE (the two-argument like function) with the wildcards of
//   LikePattern, ignoring letter case for all of Unicode; each statement
//   compiles its pattern once;
// - the collation FOLD, which orders and compares text case-folded, for
//   =, <>, <, >, <= and >= on text.
// Returns false with the engine's description in *error when registering
// fails.
bool RegisterSearchFunctions(sqlite3* db, const char** error = nullptr);

// The collation name used for case-insensitive text comparisons.
inline constexpr const char* kFoldCollation = "FOLD";

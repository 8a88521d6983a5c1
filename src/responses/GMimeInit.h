#pragma once

// Readies GMime (its charset tables and object types) once per process;
// everything here that calls GMime calls this first.
void InitGMime();

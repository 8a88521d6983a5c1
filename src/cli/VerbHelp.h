#pragma once

struct Verb;

// The program's help: its usage, its global options and every verb.
void PrintHelp();
// One verb's own usage line and what it does.
void PrintVerbUsage(const Verb& verb);

#pragma once

// Ctrl-C (SIGINT), SIGTERM and SIGHUP held back from a command that writes
// records in groups, so that it can commit what it has read and say so
// before it ends. Held, such a signal waits until the command asks for it.

// Holds the three signals back in the calling thread and every thread it
// starts later: call it first thing in main.
void HoldStopSignals();

// The number of a held stop signal that has arrived, taken from the
// pending ones; 0 when none has.
int TakeStopSignal();

// "SIGINT", "SIGTERM" or "SIGHUP".
const char* StopSignalName(int signal);

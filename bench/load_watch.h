// The host's load while the benchmark runs: figures taken on a busy machine
// say little about the programs, so the run shows the load it ran under.
#pragma once

// The one-minute load average (/proc/loadavg); -1 when it cannot be read.
double LoadAverage();

// Prints the load at the benchmark's start and keeps the highest seen.
void WatchLoadFrom();
// Looks at the load again (between rounds).
void LookAtLoad();
// Prints the load at the end, and "figures unreliable: load N" when it
// exceeded 1 at any look during the run; true when it did.
bool ReportLoad();

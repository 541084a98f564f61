// Whole-program figures: the built programs run as the phone runs them,
// headless on scratch devices, timed against /bin/true and each other.
#pragma once

#include <filesystem>

// One figure printed with its goal; false when it misses the goal.
bool PrintFigure(const char* what, double value, const char* unit, const char* compared, double goal);

// Times the programs over `rounds` alternating rounds in `scratch` and
// prints each figure with its goal; false when any misses it.
bool BenchPrograms(const std::filesystem::path& scratch, int rounds);

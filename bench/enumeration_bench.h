// The enumeration part of selvane-bench: walking one wide key value by value.
#pragma once

// Prints the time per value of a RegEnumValueW walk over one key of 1,000
// and one of 10,000 values, and of `selvane-device reg export` of each, on
// the device of SELVANE_DEVICE. A walk in linear time gives about the same
// figure for both.
void ReportEnumeration();

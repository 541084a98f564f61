// The time of a timed start (CeRunAppAtTime) as the phone checks it, keeps
// it and writes it to the journal.
#pragma once

#include <string>

#include <windows.h>

namespace portable {

// Whether `time` is a real date from 1601 on (the first year a FILETIME
// counts) with a time of day; the phone refuses any other.
bool IsTimedStartTime(const SYSTEMTIME& time);

// "YYYY-MM-DD HH:MM:SS": the text a registration keeps, which sorts as the
// times do, and the journal shows.
std::string TimedStartTimeText(const SYSTEMTIME& time);

}  // namespace portable

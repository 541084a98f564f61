// The timed-start registrations that CeRunAppAtTime keeps in phone.db,
// as the device tool shows and runs them.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace platform {

struct TimedStart {
  std::string path;  // device path as registered (UTF-8)
  std::string time;  // "YYYY-MM-DD HH:MM:SS", device local time
};

void CreateTimedStartTables(sqlite3* db);

// Every registration, earliest first.
std::vector<TimedStart> TimedStarts();

}  // namespace platform

// The journal: the device's record of what the programs did to the phone,
// one line per hardware call, each tagged with the program's name and the
// phone's clock time of the call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct JournalLine {
  int64_t seq;
  std::string program;
  std::string text;
  std::string time;  // "YYYY-MM-DD HH:MM:SS", the phone's clock at the call
};

void JournalAppend(const std::string& text);
std::vector<JournalLine> JournalRead();
void JournalClear();

}  // namespace platform

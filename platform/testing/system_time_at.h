// Test support: a SYSTEMTIME written as its date and time, the day of the
// week left 0 (the conversions to a FILETIME ignore it).
#pragma once

#include <windows.h>

namespace testing_support {

inline SYSTEMTIME SystemTimeAt(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                               WORD millisecond = 0) {
  return SYSTEMTIME{year, month, 0, day, hour, minute, second, millisecond};
}

}  // namespace testing_support

#include "today/today_state.h"

TodayState Today;

DWORD MinuteStamp(const SYSTEMTIME* time) {
  return ((DWORD)time->wDay * 24 + time->wHour) * 60 + time->wMinute;
}

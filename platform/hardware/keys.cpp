// keybd_event: synthetic key events, written to the journal; the phone
// counts each as user activity.
#include <cstdio>

#include <windows.h>

#include "../device/call_failure.h"
#include "../kernel/journal.h"

void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, DWORD extraInfo) try {
  char text[96];
  std::snprintf(text, sizeof text, "keybd_event 0x%02X %u 0x%X %u", virtualKey, scanCode, flags, extraInfo);
  platform::JournalAppend(text);
} catch (...) {
  platform::FailedCall();
}

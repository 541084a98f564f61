// Windows CE's events on desktop events: CreateEventW remembers each named
// event's name, EventModify sets, resets or pulses, counts the signals of a
// named event in the hardware key's "Events" and journals the call.
#include "named_events.h"

#include <map>

#include <wince_core.h>

#include "desktop_calls.h"
#include "layer_lock.h"
#include "phone_hardware.h"

namespace ce_layer {

namespace {

const WCHAR kEventsSection[] = L"Events";

ce_layer::LayerLock g_eventsLock;
std::map<HANDLE, std::wstring> g_eventNames;

}  // namespace

std::wstring EventName(HANDLE event) {
  ce_layer::LayerLockHold lock(g_eventsLock);
  auto found = g_eventNames.find(event);
  return found == g_eventNames.end() ? std::wstring() : found->second;
}

void ForgetEventName(HANDLE event) {
  ce_layer::LayerLockHold lock(g_eventsLock);
  g_eventNames.erase(event);
}

}  // namespace ce_layer

HANDLE PhoneCreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  HANDLE event = CreateEventW(attributes, manualReset, initialState, name);
  if (event && name && *name) {
    DWORD error = GetLastError();
    {
      ce_layer::LayerLockHold lock(ce_layer::g_eventsLock);
      ce_layer::g_eventNames[event] = name;
    }
    // ERROR_ALREADY_EXISTS tells the caller the event was there before.
    SetLastError(error);
  }
  return event;
}

BOOL EventModify(HANDLE hEvent, DWORD func) {
  BOOL done = FALSE;
  switch (func) {
    case EVENT_SET: done = SetEvent(hEvent); break;
    case EVENT_RESET: done = ResetEvent(hEvent); break;
    case EVENT_PULSE: done = PulseEvent(hEvent); break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (!done) return FALSE;
  const std::wstring name = ce_layer::EventName(hEvent);
  if (!name.empty()) {
    if (func != EVENT_RESET) ce_layer::CountPhoneDword(ce_layer::kEventsSection, name.c_str());
    ce_layer::JournalAppend("EventModify \"" + ce_layer::ToUtf8(name) + "\" " + std::to_string(func));
  }
  return TRUE;
}

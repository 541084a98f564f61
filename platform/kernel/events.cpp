// Events: CreateEventW and EventModify. Named events are the phone's
// system-wide events; each set or pulse of one is journalled and counted
// in phone.db, so that the device tool can show how often it was signalled.
#include "events.h"

#include <map>
#include <string>

#include <wince_core.h>
#include <windows.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../text/utf.h"
#include "journal.h"
#include "kernel_objects.h"

namespace platform {

namespace {

class EventObject : public KernelObject {
 public:
  EventObject(bool manual, bool initial, std::u16string name)
      : manual_(manual), signalled_(initial), name_(std::move(name)) {}

  bool Waitable() const override { return true; }
  bool Signalled() const override { return signalled_ || pulseReleases_ > 0; }
  void Acquire() override {
    if (pulseReleases_ > 0)
      --pulseReleases_;
    else if (!manual_)
      signalled_ = false;
  }

  // Called with SignalMutex() held.
  void Modify(DWORD func) {
    switch (func) {
      case EVENT_SET:
        signalled_ = true;
        break;
      case EVENT_RESET:
        signalled_ = false;
        pulseReleases_ = 0;
        break;
      case EVENT_PULSE:
        // Releases the threads waiting now (one for an auto-reset event)
        // and leaves the event reset.
        signalled_ = false;
        pulseReleases_ = manual_ ? waiters : (waiters > 0 ? 1 : 0);
        break;
    }
  }

  const std::u16string& name() const { return name_; }

 private:
  bool manual_;
  bool signalled_;
  int pulseReleases_ = 0;
  std::u16string name_;
};

std::mutex g_namesMutex;
std::map<std::u16string, std::weak_ptr<EventObject>> g_namedEvents;

// One more signal of a named phone event, in the device's state.
void CountSignal(const std::string& name) {
  Statement q(DeviceDb(), "INSERT INTO event_signals(name, count) VALUES(?, 1)"
                          " ON CONFLICT(name) DO UPDATE SET count = count + 1", Statement::Cached);
  q.Bind(1, name).Run();
}

}  // namespace

void CreateEventTables() {
  Exec(DeviceDb(), "CREATE TABLE IF NOT EXISTS event_signals(name TEXT PRIMARY KEY, count INTEGER NOT NULL)");
}

}  // namespace platform

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) try {
  using platform::EventObject;
  if (!lpName || !*lpName) {
    SetLastError(ERROR_SUCCESS);
    return platform::AddHandle(std::make_shared<EventObject>(bManualReset, bInitialState, u""));
  }
  std::u16string name(lpName);
  std::lock_guard<std::mutex> lock(platform::g_namesMutex);
  auto& slot = platform::g_namedEvents[name];
  if (auto existing = slot.lock()) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return platform::AddHandle(existing);
  }
  auto event = std::make_shared<EventObject>(bManualReset, bInitialState, name);
  slot = event;
  SetLastError(ERROR_SUCCESS);
  return platform::AddHandle(event);
} catch (...) {
  return platform::FailedCall(HANDLE{nullptr});
}

BOOL EventModify(HANDLE hEvent, DWORD func) try {
  auto event = platform::FindHandleOf<platform::EventObject>(hEvent);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (func != EVENT_SET && func != EVENT_RESET && func != EVENT_PULSE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> lock(platform::SignalMutex());
    event->Modify(func);
  }
  platform::SignalChanged();
  if (!event->name().empty()) {
    const std::string name = platform::Utf16ToUtf8(event->name());
    if (func != EVENT_RESET) platform::CountSignal(name);
    platform::JournalAppend("EventModify \"" + name + "\" " + std::to_string(func));
  }
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}

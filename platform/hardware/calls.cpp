// Incoming calls and the phone's ringer. A call lives in device_state while
// it is in progress ("call.ID" = its caller ID), with a mark per monitoring
// process that has heard of it ("call.ID.heard.PID") and one once rung
// ("call.ID.rung"); "call.last" numbers them. A process with a monitoring
// line is listed as "line.monitor.PID". The ringer waits for the monitors,
// as a phone rings only after the line has offered the call: a program that
// watches calls gets its chance to change the ring settings first.
#include "calls.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include <windows.h>

#include "../device/device.h"
#include "../kernel/journal.h"
#include "../text/utf.h"
#include "../user/window_model.h"

namespace platform {

namespace {

const char kLastCall[] = "call.last";
const char kCallPrefix[] = "call.";
const char kMonitorPrefix[] = "line.monitor.";

// How the ringer waits for the monitors: it looks every kRingCheckMs and
// rings regardless after kRingChecks looks (about five seconds).
const UINT kRingCheckMs = 100;
const int kRingChecks = 50;
const size_t kLongestNumber = 40;

// The ring settings the phone's control panel keeps.
const WCHAR kVolumeKey[] = u"\\ControlPanel\\Volume";
const WCHAR kRingerValue[] = u"Ringer";
const WCHAR kRingToneKey[] = u"\\ControlPanel\\Sounds\\RingTone0";
const WCHAR kSoundValue[] = u"Sound";
// "Ringer" holds the level times this step (0x33333333 for level 1).
const DWORD kRingerStep = 0x33333333;
const DWORD kLoudestLevel = 5;
const size_t kToneUnits = 260;

std::string CallKey(int64_t id) { return kCallPrefix + std::to_string(id); }
std::string HeardKey(int64_t id, long pid) { return CallKey(id) + ".heard." + std::to_string(pid); }
std::string RungKey(int64_t id) { return CallKey(id) + ".rung"; }

bool ProcessAlive(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

void DeleteDeviceValues(const std::string& pattern) {
  Statement q(DeviceDb(), "DELETE FROM device_state WHERE name GLOB ?");
  q.Bind(1, pattern).Run();
}

// The processes listed as monitoring calls; a listed process that is gone
// (killed with a line open) no longer counts.
std::vector<long> LiveMonitors() {
  std::vector<long> live;
  Statement q(DeviceDb(), "SELECT name FROM device_state WHERE name GLOB 'line.monitor.*'");
  while (q.Step()) {
    const long pid = std::atol(q.Text(0).c_str() + sizeof kMonitorPrefix - 1);
    if (ProcessAlive(pid)) live.push_back(pid);
  }
  return live;
}

// The ring level 0-5 that "Ringer" stands for; a phone without the key rings silent.
DWORD RingLevel() {
  HKEY key;
  DWORD level = 0;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kVolumeKey, 0, 0, &key) != ERROR_SUCCESS) return 0;
  DWORD value = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key, kRingerValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof value)
    level = value / kRingerStep;
  RegCloseKey(key);
  return level > kLoudestLevel ? kLoudestLevel : level;
}

// The ring tone's file name, "" when the phone has none.
std::u16string RingTone() {
  HKEY key;
  std::u16string tone;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRingToneKey, 0, 0, &key) != ERROR_SUCCESS) return tone;
  WCHAR text[kToneUnits] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof text - sizeof(WCHAR);
  if (RegQueryValueExW(key, kSoundValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    tone.assign(text, size / sizeof(WCHAR));
  RegCloseKey(key);
  while (!tone.empty() && tone.back() == 0) tone.pop_back();
  return tone;
}

// The calls this program's ringer still has to ring, by the window's timer.
std::mutex g_ringMutex;
std::map<int64_t, int> g_toRing;  // call -> looks left
HWND g_ringer = nullptr;
const UINT_PTR kRingTimer = 1;

// Rings the calls whose monitors have heard of them, or that waited long
// enough; stops looking when none is left.
void CheckCallsToRing(HWND window) {
  std::vector<int64_t> due;
  {
    std::lock_guard<std::mutex> lock(g_ringMutex);
    for (auto call = g_toRing.begin(); call != g_toRing.end();) {
      if (--call->second <= 0 || CallHeardByMonitors(call->first)) {
        due.push_back(call->first);
        call = g_toRing.erase(call);
      } else {
        ++call;
      }
    }
    if (g_toRing.empty()) KillTimer(window, kRingTimer);
  }
  for (int64_t id : due) RingCall(id);
}

LRESULT CALLBACK RingerProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_TIMER && wParam == kRingTimer) CheckCallsToRing(window);
  return 0;
}

}  // namespace

bool ValidCallerNumber(const std::string& number) {
  if (number.empty() || number.size() > kLongestNumber) return false;
  for (char c : number)
    if (!(c >= '0' && c <= '9') && c != '+' && c != '*' && c != '#') return false;
  return true;
}

int64_t OfferCall(const std::string& number) {
  Transaction offer(DeviceDb());
  const int64_t id = DeviceInt(kLastCall, 0) + 1;
  SetDeviceValue(kLastCall, std::to_string(id));
  SetDeviceValue(CallKey(id), number);
  offer.Commit();
  return id;
}

int EndCalls(const std::string& number) {
  int ended = 0;
  Transaction end(DeviceDb());
  for (const IncomingCall& call : CallsInProgress()) {
    if (!number.empty() && call.number != number) continue;
    DeleteDeviceValues(CallKey(call.id));
    DeleteDeviceValues(CallKey(call.id) + ".*");
    ++ended;
  }
  end.Commit();
  return ended;
}

std::vector<IncomingCall> CallsInProgress() {
  std::vector<IncomingCall> calls;
  Statement q(DeviceDb(),
              "SELECT CAST(substr(name, 6) AS INTEGER), value FROM device_state"
              " WHERE name GLOB 'call.[0-9]*' AND name NOT GLOB 'call.*.*' ORDER BY 1",
              Statement::Cached);
  while (q.Step()) calls.push_back(IncomingCall{q.Int(0), q.Text(1)});
  return calls;
}

void SetMonitoring(bool monitoring) {
  const std::string key = kMonitorPrefix + std::to_string(static_cast<long>(getpid()));
  if (monitoring) SetDeviceValue(key, "1");
  else DeleteDeviceValues(key);
}

void MarkCallHeard(int64_t id) {
  Transaction heard(DeviceDb());
  if (DeviceValue(CallKey(id))) SetDeviceValue(HeardKey(id, static_cast<long>(getpid())), "1");
  heard.Commit();
}

bool CallHeardByMonitors(int64_t id) {
  for (long pid : LiveMonitors())
    if (!DeviceValue(HeardKey(id, pid))) return false;
  return true;
}

void RingCall(int64_t id) {
  std::string number;
  DWORD level = 0;
  std::u16string tone;
  {
    Transaction ring(DeviceDb());
    auto call = DeviceValue(CallKey(id));
    if (!call || DeviceValue(RungKey(id))) return;
    SetDeviceValue(RungKey(id), "1");
    number = call->empty() ? "withheld" : *call;
    level = RingLevel();
    tone = RingTone();
    ring.Commit();
  }
  if (level == 0)
    JournalAppend("Ring " + number + " silent");
  else
    JournalAppend("Ring " + number + " volume " + std::to_string(level) + " tone \"" + Utf16ToUtf8(tone) + "\"");
}

void RingSoon(int64_t id) {
  std::lock_guard<std::mutex> lock(g_ringMutex);
  if (!g_ringer) g_ringer = RegisterPlatformWindow(u"PhoneRinger", u"Ringer", RingerProc);
  g_toRing[id] = kRingChecks;
  SetTimer(g_ringer, kRingTimer, kRingCheckMs, nullptr);
}

void RingWhenHeard(int64_t id) {
  for (int look = 0; look < kRingChecks && !CallHeardByMonitors(id); ++look)
    std::this_thread::sleep_for(std::chrono::milliseconds(kRingCheckMs));
  RingCall(id);
}

}  // namespace platform

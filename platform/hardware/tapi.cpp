// Telephony: core TAPI over the phone's one cellular line and its cellular
// extensions. Line applications and lines belong to the process; the radio's
// equipment state and the network registration persist in device_state.
// A line opened with monitor privilege hears of the incoming calls
// (phone/calls.h) that any program or the device tool offers: the process
// looks at the calls every quarter second of program time (at once for a
// call it offered itself) and sends each monitoring line's application
// LINE_CALLSTATE, offering for a new call, disconnected then idle for one
// that ended, from its message loop. A call's handle is good until its idle
// message has been delivered.
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <extapi.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../kernel/journal.h"
#include "../kernel/program.h"
#include "../text/utf.h"
#include "../user/window_model.h"
#include "calls.h"
#include "phone_state.h"

namespace platform {

namespace {

const DWORD kLowestVersion = 0x00010004;
const DWORD kHighestVersion = TAPI_CURRENT_VERSION;

const UINT kLookMs = 250;
const UINT_PTR kLookTimer = 1;

struct LineApp {
  LINECALLBACK callback;
};

struct OpenLine {
  HLINEAPP app;
  DWORD privileges;
  DWORD_PTR instance;
};

// A call the monitoring lines were told of.
struct KnownCall {
  int64_t id;
  std::string number;
};

std::mutex g_tapiMutex;
DWORD g_nextHandle = 1;
std::map<HLINEAPP, LineApp> g_apps;
std::map<HLINE, OpenLine> g_lines;
std::map<HCALL, KnownCall> g_calls;
HWND g_lineWindow = nullptr;
bool g_monitoring = false;
bool g_exitRegistered = false;

// Number of line devices: the cellular line, or none on a device without one.
DWORD LineDevices() { return DeviceInt(kLineDevices, 1) > 0 ? 1 : 0; }

bool LineOpen(HLINE line) {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  return g_lines.count(line) != 0;
}

// A message due to one line's application.
struct LineMessage {
  LINECALLBACK callback;
  HCALL call;
  DWORD_PTR instance;
  DWORD state;
};

void LookAtCalls();

LRESULT CALLBACK LineWindowProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if ((message == WM_TIMER && wParam == kLookTimer) || message == WM_USER) LookAtCalls();
  return 0;
}

bool AnyMonitoringLine() {
  for (const auto& line : g_lines)
    if (line.second.privileges & LINECALLPRIVILEGE_MONITOR) return true;
  return false;
}

// Starts or stops the looks at the calls as monitoring lines come and go
// (called with g_tapiMutex held); the process is listed in phone.db while
// it monitors, so that the ringer waits for it.
void UpdateMonitoring() {
  const bool monitoring = AnyMonitoringLine();
  if (monitoring == g_monitoring) return;
  g_monitoring = monitoring;
  SetMonitoring(monitoring);
  if (monitoring) {
    if (!g_lineWindow) g_lineWindow = RegisterPlatformWindow(u"TapiLines", u"Lines", LineWindowProc);
    SetTimer(g_lineWindow, kLookTimer, kLookMs, nullptr);
    if (!g_exitRegistered) {
      g_exitRegistered = true;
      AtProgramExit([] { SetMonitoring(false); });
    }
  } else {
    KillTimer(g_lineWindow, kLookTimer);
    g_calls.clear();
  }
}

// Tells the monitoring lines of the calls offered and ended since the last
// look. The messages go out with no lock held, as an application's callback
// may call back into TAPI; a new call counts as heard once all its
// messages are delivered.
void LookAtCalls() {
  std::vector<IncomingCall> now;
  std::vector<LineMessage> messages;
  std::vector<int64_t> offered;
  std::vector<HCALL> ended;
  {
    std::lock_guard<std::mutex> lock(g_tapiMutex);
    if (!g_monitoring) return;
  }
  now = CallsInProgress();
  {
    std::lock_guard<std::mutex> lock(g_tapiMutex);
    auto tell = [&](HCALL call, DWORD state) {
      for (const auto& line : g_lines)
        if (line.second.privileges & LINECALLPRIVILEGE_MONITOR)
          messages.push_back(LineMessage{g_apps[line.second.app].callback, call, line.second.instance, state});
    };
    for (auto known = g_calls.begin(); known != g_calls.end(); ++known) {
      bool goes_on = false;
      for (const IncomingCall& call : now) goes_on = goes_on || call.id == known->second.id;
      if (goes_on) continue;
      tell(known->first, LINECALLSTATE_DISCONNECTED);
      tell(known->first, LINECALLSTATE_IDLE);
      ended.push_back(known->first);
    }
    for (const IncomingCall& call : now) {
      bool known = false;
      for (const auto& k : g_calls) known = known || k.second.id == call.id;
      if (known) continue;
      HCALL handle = g_nextHandle++;
      g_calls[handle] = KnownCall{call.id, call.number};
      tell(handle, LINECALLSTATE_OFFERING);
      offered.push_back(call.id);
    }
  }
  for (const LineMessage& m : messages)
    if (m.callback)
      m.callback(m.call, LINE_CALLSTATE, m.instance, m.state, 0,
                 m.state == LINECALLSTATE_OFFERING ? LINECALLPRIVILEGE_MONITOR : 0);
  {
    std::lock_guard<std::mutex> lock(g_tapiMutex);
    for (HCALL call : ended) g_calls.erase(call);
  }
  for (int64_t id : offered) MarkCallHeard(id);
}

}  // namespace

void LookAtCallsNow() {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  if (g_lineWindow && g_monitoring) PostMessageW(g_lineWindow, WM_USER, 0, 0);
}

void SeedCellular() {
  SetDeviceValue(kLineDevices, "1");
  SetDeviceValue(kRadioEquipment, std::to_string(LINEEQUIPSTATE_FULL));
  SetDeviceValue(kRadioRegistered, "1");
}

}  // namespace platform

using namespace platform;

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE, LINECALLBACK lpfnCallback, LPCWSTR, LPDWORD lpdwNumDevs) try {
  if (!lphLineApp || !lpdwNumDevs || !lpfnCallback) return LINEERR_INVALPOINTER;
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  HLINEAPP app = g_nextHandle++;
  g_apps[app] = LineApp{lpfnCallback};
  *lphLineApp = app;
  *lpdwNumDevs = LineDevices();
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
                             LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID) try {
  if (!lpdwAPIVersion || !lpExtensionID) return LINEERR_INVALPOINTER;
  {
    std::lock_guard<std::mutex> lock(g_tapiMutex);
    if (!g_apps.count(hLineApp)) return LINEERR_INVALAPPHANDLE;
  }
  if (dwDeviceID >= LineDevices()) return LINEERR_BADDEVICEID;
  if (dwAPIHighVersion < kLowestVersion || dwAPILowVersion > kHighestVersion || dwAPILowVersion > dwAPIHighVersion)
    return LINEERR_INCOMPATIBLEAPIVERSION;
  *lpdwAPIVersion = dwAPIHighVersion < kHighestVersion ? dwAPIHighVersion : kHighestVersion;
  *lpExtensionID = LINEEXTENSIONID{};
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD,
              DWORD dwCallbackInstance, DWORD dwPrivileges, DWORD, const LINECALLPARAMS*) try {
  if (!lphLine) return LINEERR_INVALPOINTER;
  if (dwDeviceID >= LineDevices()) return LINEERR_BADDEVICEID;
  if (dwAPIVersion < kLowestVersion || dwAPIVersion > kHighestVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
  const DWORD kKnownPrivileges = LINECALLPRIVILEGE_NONE | LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER;
  if (dwPrivileges & ~kKnownPrivileges) return LINEERR_INVALPARAM;
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  if (!g_apps.count(hLineApp)) return LINEERR_INVALAPPHANDLE;
  HLINE line = g_nextHandle++;
  g_lines[line] = OpenLine{hLineApp, dwPrivileges, dwCallbackInstance};
  UpdateMonitoring();
  *lphLine = line;
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineClose(HLINE hLine) try {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  auto line = g_lines.find(hLine);
  if (line == g_lines.end()) return LINEERR_INVALLINEHANDLE;
  g_lines.erase(line);
  UpdateMonitoring();
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineShutdown(HLINEAPP hLineApp) try {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  if (!g_apps.erase(hLineApp)) return LINEERR_INVALAPPHANDLE;
  for (auto line = g_lines.begin(); line != g_lines.end();)
    line = line->second.app == hLineApp ? g_lines.erase(line) : std::next(line);
  UpdateMonitoring();
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

// The caller ID follows the fixed part as terminated UTF-16 text; a buffer
// with room for the fixed part only gets that and the size needed.
LONG lineGetCallInfo(HCALL hCall, LPLINECALLINFO lpCallInfo) {
  if (!lpCallInfo) return LINEERR_INVALPOINTER;
  if (lpCallInfo->dwTotalSize < sizeof(LINECALLINFO)) return LINEERR_STRUCTURETOOSMALL;
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  auto call = g_calls.find(hCall);
  if (call == g_calls.end()) return LINEERR_INVALCALLHANDLE;
  const DWORD total = lpCallInfo->dwTotalSize;
  std::memset(lpCallInfo, 0, sizeof(LINECALLINFO));
  lpCallInfo->dwTotalSize = total;
  lpCallInfo->dwUsedSize = sizeof(LINECALLINFO);
  lpCallInfo->dwNeededSize = sizeof(LINECALLINFO);
  for (const auto& line : g_lines)
    if (line.second.privileges & LINECALLPRIVILEGE_MONITOR) {
      lpCallInfo->hLine = line.first;
      ++lpCallInfo->dwNumMonitors;
    }
  lpCallInfo->dwMediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
  lpCallInfo->dwCallID = static_cast<DWORD>(call->second.id);
  lpCallInfo->dwCallStates = LINECALLSTATE_IDLE | LINECALLSTATE_OFFERING | LINECALLSTATE_DISCONNECTED;
  if (call->second.number.empty()) {
    lpCallInfo->dwCallerIDFlags = LINECALLPARTYID_BLOCKED;
    return 0;
  }
  lpCallInfo->dwCallerIDFlags = LINECALLPARTYID_ADDRESS;
  const std::u16string number = Utf8ToUtf16(call->second.number);
  const DWORD bytes = static_cast<DWORD>((number.size() + 1) * sizeof(char16_t));
  lpCallInfo->dwNeededSize += bytes;
  if (total < sizeof(LINECALLINFO) + bytes) return 0;
  BYTE* text = reinterpret_cast<BYTE*>(lpCallInfo) + sizeof(LINECALLINFO);
  std::memcpy(text, number.c_str(), bytes);
  lpCallInfo->dwCallerIDSize = bytes;
  lpCallInfo->dwCallerIDOffset = sizeof(LINECALLINFO);
  lpCallInfo->dwUsedSize += bytes;
  return 0;
}

LONG lineGetEquipmentState(HLINE hLine, LPDWORD lpdwState, LPDWORD lpdwRadioSupport) try {
  if (!lpdwState || !lpdwRadioSupport) return LINEERR_INVALPOINTER;
  if (!LineOpen(hLine)) return LINEERR_INVALLINEHANDLE;
  const int state = DeviceInt(kRadioEquipment, LINEEQUIPSTATE_FULL);
  *lpdwState = static_cast<DWORD>(state);
  *lpdwRadioSupport = state == LINEEQUIPSTATE_FULL ? LINERADIOSUPPORT_ON : LINERADIOSUPPORT_OFF;
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineSetEquipmentState(HLINE hLine, DWORD dwState) try {
  if (!LineOpen(hLine)) return LINEERR_INVALLINEHANDLE;
  if (dwState < LINEEQUIPSTATE_MINIMUM || dwState > LINEEQUIPSTATE_FULL) return LINEERR_INVALPARAM;
  {
    Transaction change(DeviceDb());
    SetDeviceValue(kRadioEquipment, std::to_string(dwState));
    if (dwState != LINEEQUIPSTATE_FULL) SetDeviceValue(kRadioRegistered, "0");
    if (dwState == LINEEQUIPSTATE_MINIMUM) SetDeviceValue(kSimLocked, "1");
    change.Commit();
  }
  JournalAppend("lineSetEquipmentState " + std::to_string(dwState));
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineRegister(HLINE hLine, DWORD dwRegisterMode, LPCWSTR, DWORD) try {
  if (!LineOpen(hLine)) return LINEERR_INVALLINEHANDLE;
  if (dwRegisterMode < LINEREGMODE_AUTOMATIC || dwRegisterMode > LINEREGMODE_MANAUTO) return LINEERR_INVALPARAM;
  const bool canRegister = DeviceInt(kRadioEquipment, LINEEQUIPSTATE_FULL) == LINEEQUIPSTATE_FULL &&
                           DeviceInt(kSimLocked, 0) == 0;
  SetDeviceValue(kRadioRegistered, canRegister ? "1" : "0");
  JournalAppend("lineRegister " + std::to_string(dwRegisterMode));
  return canRegister ? 0 : LINEERR_OPERATIONFAILED;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

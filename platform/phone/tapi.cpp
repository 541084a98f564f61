// Telephony: core TAPI over the phone's one cellular line and its cellular
// extensions. Line applications and lines belong to the process; the radio's
// equipment state and the network registration persist in device_state.
#include <map>
#include <mutex>
#include <string>

#include "device/call_failure.h"
#include "device/device.h"
#include "extapi.h"
#include "kernel/journal.h"
#include "phone/phone_state.h"

namespace platform {

namespace {

const DWORD kLowestVersion = 0x00010004;
const DWORD kHighestVersion = TAPI_CURRENT_VERSION;

std::mutex g_tapiMutex;
DWORD g_nextHandle = 1;
std::map<HLINEAPP, int> g_apps;      // application -> number of lines open
std::map<HLINE, HLINEAPP> g_lines;   // open line -> its application

// Number of line devices: the cellular line, or none on a device without one.
DWORD LineDevices() { return DeviceInt(kLineDevices, 1) > 0 ? 1 : 0; }

bool LineOpen(HLINE line) {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  return g_lines.count(line) != 0;
}

}  // namespace

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
  g_apps[app] = 0;
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

LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD, DWORD, DWORD,
              DWORD, const LINECALLPARAMS*) try {
  if (!lphLine) return LINEERR_INVALPOINTER;
  if (dwDeviceID >= LineDevices()) return LINEERR_BADDEVICEID;
  if (dwAPIVersion < kLowestVersion || dwAPIVersion > kHighestVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  auto app = g_apps.find(hLineApp);
  if (app == g_apps.end()) return LINEERR_INVALAPPHANDLE;
  HLINE line = g_nextHandle++;
  g_lines[line] = hLineApp;
  ++app->second;
  *lphLine = line;
  return 0;
} catch (...) {
  return platform::FailedCall(LONG{LINEERR_OPERATIONFAILED});
}

LONG lineClose(HLINE hLine) {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  auto line = g_lines.find(hLine);
  if (line == g_lines.end()) return LINEERR_INVALLINEHANDLE;
  --g_apps[line->second];
  g_lines.erase(line);
  return 0;
}

LONG lineShutdown(HLINEAPP hLineApp) {
  std::lock_guard<std::mutex> lock(g_tapiMutex);
  if (!g_apps.erase(hLineApp)) return LINEERR_INVALAPPHANDLE;
  for (auto line = g_lines.begin(); line != g_lines.end();)
    line = line->second == hLineApp ? g_lines.erase(line) : std::next(line);
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

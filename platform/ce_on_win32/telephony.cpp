// Telephony on the phone's one cellular line: core TAPI's line applications
// and lines belong to the process; the radio's equipment state and network
// registration persist in the hardware key ("RadioEquipment",
// "RadioRegistered"; "LineDevices" 0 for a phone without a line).
#include <map>
#include <string>

#include <extapi.h>
#include <tapi.h>

#include "layer_lock.h"
#include "phone_hardware.h"
#include "phone_state_names.h"

namespace {

const DWORD kLowestVersion = 0x00010004;
const DWORD kHighestVersion = TAPI_CURRENT_VERSION;

ce_layer::LayerLock g_tapiLock;
DWORD g_nextHandle = 1;
std::map<HLINEAPP, int> g_apps;     // application -> lines open
std::map<HLINE, HLINEAPP> g_lines;  // open line -> its application

DWORD LineDevices() { return ce_layer::PhoneDword(nullptr, ce_layer::kLineDevices, 1) > 0 ? 1 : 0; }

bool LineOpen(HLINE line) {
  ce_layer::LayerLockHold lock(g_tapiLock);
  return g_lines.count(line) != 0;
}

DWORD Equipment() { return ce_layer::PhoneDword(nullptr, ce_layer::kRadioEquipment, LINEEQUIPSTATE_FULL); }

}  // namespace

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE, LINECALLBACK lpfnCallback, LPCWSTR, LPDWORD lpdwNumDevs) {
  if (!lphLineApp || !lpdwNumDevs || !lpfnCallback) return LINEERR_INVALPOINTER;
  ce_layer::LayerLockHold lock(g_tapiLock);
  HLINEAPP app = g_nextHandle++;
  g_apps[app] = 0;
  *lphLineApp = app;
  *lpdwNumDevs = LineDevices();
  return 0;
}

LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
                             LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID) {
  if (!lpdwAPIVersion || !lpExtensionID) return LINEERR_INVALPOINTER;
  {
    ce_layer::LayerLockHold lock(g_tapiLock);
    if (!g_apps.count(hLineApp)) return LINEERR_INVALAPPHANDLE;
  }
  if (dwDeviceID >= LineDevices()) return LINEERR_BADDEVICEID;
  if (dwAPIHighVersion < kLowestVersion || dwAPILowVersion > kHighestVersion || dwAPILowVersion > dwAPIHighVersion)
    return LINEERR_INCOMPATIBLEAPIVERSION;
  *lpdwAPIVersion = dwAPIHighVersion < kHighestVersion ? dwAPIHighVersion : kHighestVersion;
  *lpExtensionID = LINEEXTENSIONID{};
  return 0;
}

LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD, DWORD, DWORD,
              DWORD, const LINECALLPARAMS*) {
  if (!lphLine) return LINEERR_INVALPOINTER;
  if (dwDeviceID >= LineDevices()) return LINEERR_BADDEVICEID;
  if (dwAPIVersion < kLowestVersion || dwAPIVersion > kHighestVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
  ce_layer::LayerLockHold lock(g_tapiLock);
  auto app = g_apps.find(hLineApp);
  if (app == g_apps.end()) return LINEERR_INVALAPPHANDLE;
  HLINE line = g_nextHandle++;
  g_lines[line] = hLineApp;
  ++app->second;
  *lphLine = line;
  return 0;
}

LONG lineClose(HLINE hLine) {
  ce_layer::LayerLockHold lock(g_tapiLock);
  auto line = g_lines.find(hLine);
  if (line == g_lines.end()) return LINEERR_INVALLINEHANDLE;
  --g_apps[line->second];
  g_lines.erase(line);
  return 0;
}

LONG lineShutdown(HLINEAPP hLineApp) {
  ce_layer::LayerLockHold lock(g_tapiLock);
  if (!g_apps.erase(hLineApp)) return LINEERR_INVALAPPHANDLE;
  for (auto line = g_lines.begin(); line != g_lines.end();)
    line = line->second == hLineApp ? g_lines.erase(line) : std::next(line);
  return 0;
}

LONG lineGetEquipmentState(HLINE hLine, LPDWORD lpdwState, LPDWORD lpdwRadioSupport) {
  if (!lpdwState || !lpdwRadioSupport) return LINEERR_INVALPOINTER;
  if (!LineOpen(hLine)) return LINEERR_INVALLINEHANDLE;
  const DWORD state = Equipment();
  *lpdwState = state;
  *lpdwRadioSupport = state == LINEEQUIPSTATE_FULL ? LINERADIOSUPPORT_ON : LINERADIOSUPPORT_OFF;
  return 0;
}

// Anything below full operation loses the registration; the minimum state
// powers the SIM down, which then asks for its PIN again.
LONG lineSetEquipmentState(HLINE hLine, DWORD dwState) {
  if (!LineOpen(hLine)) return LINEERR_INVALLINEHANDLE;
  if (dwState < LINEEQUIPSTATE_MINIMUM || dwState > LINEEQUIPSTATE_FULL) return LINEERR_INVALPARAM;
  ce_layer::SetPhoneDword(nullptr, ce_layer::kRadioEquipment, dwState);
  if (dwState != LINEEQUIPSTATE_FULL) ce_layer::SetPhoneDword(nullptr, ce_layer::kRadioRegistered, 0);
  if (dwState == LINEEQUIPSTATE_MINIMUM) ce_layer::SetPhoneDword(nullptr, ce_layer::kSimLocked, 1);
  ce_layer::JournalAppend("lineSetEquipmentState " + std::to_string(dwState));
  return 0;
}

// Registers only with the radio fully on and the SIM unlocked.
LONG lineRegister(HLINE hLine, DWORD dwRegisterMode, LPCWSTR, DWORD) {
  if (!LineOpen(hLine)) return LINEERR_INVALLINEHANDLE;
  if (dwRegisterMode < LINEREGMODE_AUTOMATIC || dwRegisterMode > LINEREGMODE_MANAUTO) return LINEERR_INVALPARAM;
  const bool canRegister =
      Equipment() == LINEEQUIPSTATE_FULL && ce_layer::PhoneDword(nullptr, ce_layer::kSimLocked, 0) == 0;
  ce_layer::SetPhoneDword(nullptr, ce_layer::kRadioRegistered, canRegister ? 1 : 0);
  ce_layer::JournalAppend("lineRegister " + std::to_string(dwRegisterMode));
  return canRegister ? 0 : LINEERR_OPERATIONFAILED;
}

// A desktop has no cellular line that calls come in on, so no call handle
// is ever given out.
LONG lineGetCallInfo(HCALL, LPLINECALLINFO lpCallInfo) {
  if (!lpCallInfo) return LINEERR_INVALPOINTER;
  if (lpCallInfo->dwTotalSize < sizeof(LINECALLINFO)) return LINEERR_STRUCTURETOOSMALL;
  return LINEERR_INVALCALLHANDLE;
}

// The SIM manager: SIM handles of the process and the PIN entry. The SIM's
// PIN and whether it is locked persist in device_state; a fresh phone's SIM
// has had its PIN entered already (the radio is on and registered).
#include <mutex>
#include <set>
#include <string>

#include <simmgr.h>

#include "../device/call_failure.h"
#include "../kernel/journal.h"
#include "../portable/sim_pin.h"
#include "../text/utf.h"
#include "phone_state.h"

namespace platform {

namespace {

std::mutex g_simMutex;
std::set<uintptr_t> g_simHandles;
uintptr_t g_nextSim = 0x5100;

bool SimHandleOpen(HSIM sim) {
  std::lock_guard<std::mutex> lock(g_simMutex);
  return g_simHandles.count(reinterpret_cast<uintptr_t>(sim)) != 0;
}

}  // namespace

void SeedSim() { SetDeviceValue(kSimLocked, "0"); }

}  // namespace platform

using namespace platform;

HRESULT SimInitialize(DWORD, SIMCALLBACK, DWORD, LPHSIM lphSim) {
  if (!lphSim) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(g_simMutex);
  uintptr_t value = g_nextSim;
  g_nextSim += 4;
  g_simHandles.insert(value);
  *lphSim = reinterpret_cast<HSIM>(value);
  return S_OK;
}

HRESULT SimUnlockPhone(HSIM hSim, LPCWSTR lpszPassword, LPCWSTR lpszNewPassword) try {
  if (!SimHandleOpen(hSim)) return E_INVALIDARG;
  const std::u16string offered = lpszPassword ? lpszPassword : u"";
  const std::u16string replacement = lpszNewPassword ? lpszNewPassword : u"";
  if (!replacement.empty() && !portable::IsNewSimPin(replacement.c_str())) return SIM_E_BADPARAM;

  const std::string pin = Utf16ToUtf8(offered);
  const bool accepted = !offered.empty() && DeviceValue(kSimPin).value_or("") == pin;
  if (accepted) {
    Transaction change(DeviceDb());
    SetDeviceValue(kSimLocked, "0");
    if (!replacement.empty()) SetDeviceValue(kSimPin, Utf16ToUtf8(replacement));
    change.Commit();
  }
  JournalAppend("SimUnlockPhone \"" + pin + "\" " + (accepted ? "ok" : "failed"));
  return accepted ? S_OK : SIM_E_INCORRECTPASSWORD;
} catch (...) {
  return platform::FailedCall(HRESULT{SIM_E_SIMFAILURE});
}

HRESULT SimDeinitialize(HSIM hSim) {
  std::lock_guard<std::mutex> lock(g_simMutex);
  if (!g_simHandles.erase(reinterpret_cast<uintptr_t>(hSim))) return E_INVALIDARG;
  return S_OK;
}

// The SIM manager: the process's SIM handles and the PIN entry. The PIN
// ("SimPin", "1234" unless set) and whether the SIM is locked ("SimLocked")
// persist in the hardware key.
#include <set>

#include <simmgr.h>

#include "../portable/sim_pin.h"
#include "layer_lock.h"
#include "phone_hardware.h"
#include "phone_state_names.h"

namespace {

const WCHAR kDefaultPin[] = L"1234";

ce_layer::LayerLock g_simLock;
std::set<uintptr_t> g_simHandles;
uintptr_t g_nextSim = 0x5100;

bool SimHandleOpen(HSIM sim) {
  ce_layer::LayerLockHold lock(g_simLock);
  return g_simHandles.count(reinterpret_cast<uintptr_t>(sim)) != 0;
}

}  // namespace

HRESULT SimInitialize(DWORD, SIMCALLBACK, DWORD, LPHSIM lphSim) {
  if (!lphSim) return E_INVALIDARG;
  ce_layer::LayerLockHold lock(g_simLock);
  uintptr_t value = g_nextSim;
  g_nextSim += 4;
  g_simHandles.insert(value);
  *lphSim = reinterpret_cast<HSIM>(value);
  return S_OK;
}

HRESULT SimUnlockPhone(HSIM hSim, LPCWSTR lpszPassword, LPCWSTR lpszNewPassword) {
  if (!SimHandleOpen(hSim)) return E_INVALIDARG;
  const std::wstring offered = lpszPassword ? lpszPassword : L"";
  const std::wstring replacement = lpszNewPassword ? lpszNewPassword : L"";
  if (!replacement.empty() && !portable::IsNewSimPin(replacement.c_str())) return SIM_E_BADPARAM;

  const bool accepted =
      !offered.empty() && ce_layer::PhoneText(nullptr, ce_layer::kSimPin, kDefaultPin) == offered;
  if (accepted) {
    ce_layer::SetPhoneDword(nullptr, ce_layer::kSimLocked, 0);
    if (!replacement.empty()) ce_layer::SetPhoneText(nullptr, ce_layer::kSimPin, replacement);
  }
  ce_layer::JournalAppend("SimUnlockPhone \"" + ce_layer::ToUtf8(offered) + "\" " + (accepted ? "ok" : "failed"));
  return accepted ? S_OK : SIM_E_INCORRECTPASSWORD;
}

HRESULT SimDeinitialize(HSIM hSim) {
  ce_layer::LayerLockHold lock(g_simLock);
  if (!g_simHandles.erase(reinterpret_cast<uintptr_t>(hSim))) return E_INVALIDARG;
  return S_OK;
}

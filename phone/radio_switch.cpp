// The radio switch: its threads, counted so that a caller can wait for them,
// and the telephony and SIM calls that switch the radio.
#include "phone/radio_switch.h"

#include <tapi.h>
#include <extapi.h>
#include <simmgr.h>

#include "phone/device_states.h"

// Radio threads still running, and an event that is set while there are
// none. Both change together under the lock. Prepared on the first start.
static CRITICAL_SECTION RadioLock;
static HANDLE RadioIdle = nullptr;
static DWORD RadioThreadsRunning = 0;

// Called from the thread that applies modes, before its first radio thread.
static BOOL PrepareRadioTracking() {
  if (RadioIdle) return TRUE;
  RadioIdle = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  if (!RadioIdle) return FALSE;
  InitializeCriticalSection(&RadioLock);
  return TRUE;
}

static void CountRadioThreadStarted() {
  EnterCriticalSection(&RadioLock);
  if (RadioThreadsRunning++ == 0) ResetEvent(RadioIdle);
  LeaveCriticalSection(&RadioLock);
}

static void CountRadioThreadEnded() {
  EnterCriticalSection(&RadioLock);
  if (--RadioThreadsRunning == 0) SetEvent(RadioIdle);
  LeaveCriticalSection(&RadioLock);
}

int StartRadioSwitch(DWORD radioState, LPCWSTR simCode) {
  if (!PrepareRadioTracking()) return -1;
  RadioSwitchRequest* request = new RadioSwitchRequest;
  request->RadioState = radioState;
  wcsncpy(request->SimCode, simCode ? simCode : TEXT(""), SIM_CODE_WIDTH - 1);
  request->SimCode[SIM_CODE_WIDTH - 1] = 0;

  CountRadioThreadStarted();
  HANDLE thread = CreateThread(nullptr, 0, RadioSwitchThread, request, 0, nullptr);
  if (!thread) {
    delete request;
    CountRadioThreadEnded();
    return -1;
  }
  CloseHandle(thread);
  return 0;
}

DWORD WINAPI RadioSwitchThread(LPVOID parameter) {
  RadioSwitchRequest request = *static_cast<RadioSwitchRequest*>(parameter);
  delete static_cast<RadioSwitchRequest*>(parameter);
  if (request.RadioState == RADIO_ON)
    SetRadioState(LINEEQUIPSTATE_FULL, request.SimCode);
  else if (request.RadioState == RADIO_OFF)
    SetRadioState(LINEEQUIPSTATE_MINIMUM, request.SimCode);
  CountRadioThreadEnded();
  return 1;
}

BOOL WaitForRadioSwitches(DWORD milliseconds) {
  if (!RadioIdle) return TRUE;
  return WaitForSingleObject(RadioIdle, milliseconds) == WAIT_OBJECT_0;
}

// Line events tell this short-lived switch nothing it needs.
static void CALLBACK IgnoreLineEvent(DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

LONG SetRadioState(DWORD equipmentState, LPCWSTR simCode) {
  HLINEAPP application = 0;
  DWORD devices = 0;
  const BOOL initialized =
      lineInitialize(&application, nullptr, IgnoreLineEvent, TAPI_APPLICATION_NAME, &devices) == 0;

  DWORD version = 0;
  LINEEXTENSIONID extension;
  lineNegotiateAPIVersion(application, 0, TAPI_LOWEST_VERSION, TAPI_HIGHEST_VERSION, &version, &extension);

  HLINE line = 0;
  const LONG opened = lineOpen(application, 0, &line, version, 0, 0, LINECALLPRIVILEGE_OWNER,
                               LINEMEDIAMODE_INTERACTIVEVOICE, nullptr);
  DWORD current = 0;
  DWORD radioSupport = 0;
  const LONG stateRead = opened == 0 ? lineGetEquipmentState(line, &current, &radioSupport) : opened;

  HSIM sim = nullptr;
  const HRESULT simResult = SimInitialize(0, nullptr, 0, &sim);
  if (FAILED(simResult)) {
    if (opened == 0) lineClose(line);
    if (initialized) lineShutdown(application);
    return simResult;
  }

  // Without an open line the radio's state is unknown: switch nothing and
  // offer no code, rather than act on a guess.
  if (stateRead != 0 || current == equipmentState) {
    if (opened == 0) lineClose(line);
    if (initialized) lineShutdown(application);
    SimDeinitialize(sim);
    return stateRead;
  }

  lineSetEquipmentState(line, equipmentState);
  if (equipmentState == LINEEQUIPSTATE_FULL) {
    SimUnlockPhone(sim, simCode, TEXT(""));
    lineRegister(line, LINEREGMODE_AUTOMATIC, nullptr, LINEOPFORMAT_NONE);
  }

  lineClose(line);
  const LONG result = lineShutdown(application);
  SimDeinitialize(sim);
  return result;
}

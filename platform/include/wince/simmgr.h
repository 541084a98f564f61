// The SIM manager: a handle on the SIM and the PIN entry that unlocks it.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef HANDLE HSIM;
typedef HSIM* LPHSIM;

typedef void (*SIMCALLBACK)(DWORD dwNotifyCode, const void* pData, DWORD dwDataSize, DWORD dwParam);

#define SIM_INIT_NONE 0x00000000

// Errors in the SIM manager's own facility.
#define SIM_E_SIMFAILURE ((HRESULT)0x88000001)
#define SIM_E_NOSIM ((HRESULT)0x8800002B)
#define SIM_E_INCORRECTPASSWORD ((HRESULT)0x88000010)
#define SIM_E_BADPARAM ((HRESULT)0x88000042)
#ifndef E_INVALIDARG
#define E_INVALIDARG ((HRESULT)0x80070057)
#endif

HRESULT SimInitialize(DWORD dwFlags, SIMCALLBACK lpfnCallBack, DWORD dwParam, LPHSIM lphSim);
// Unlocks the SIM with its PIN; a non-empty new PIN then replaces the old.
HRESULT SimUnlockPhone(HSIM hSim, LPCWSTR lpszPassword, LPCWSTR lpszNewPassword);
HRESULT SimDeinitialize(HSIM hSim);

#ifdef __cplusplus
}
#endif

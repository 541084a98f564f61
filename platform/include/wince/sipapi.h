// The input panel: the on-screen keyboard a program raises and puts away.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001

// Raises (SIPF_ON) or puts away (SIPF_OFF) the on-screen keyboard.
BOOL SipShowIM(DWORD flags);

#ifdef __cplusplus
}
#endif

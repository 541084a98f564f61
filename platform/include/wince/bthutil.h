// The Bluetooth utility library of the Microsoft Bluetooth stack: the radio
// mode. On a phone with another stack every call fails.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define BTH_POWER_OFF 0
#define BTH_CONNECTABLE 1
#define BTH_DISCOVERABLE 2

#ifndef ERROR_SERVICE_NOT_ACTIVE
#define ERROR_SERVICE_NOT_ACTIVE 1062L
#endif

int BthSetMode(DWORD dwMode);
int BthGetMode(DWORD* pdwMode);

#ifdef __cplusplus
}
#endif

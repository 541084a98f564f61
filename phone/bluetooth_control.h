// Bluetooth and the headset profile: the Bluetooth helper program started
// with a mode's state, and the phone maker's headset switch.
#pragma once

#include <windows.h>

inline constexpr WCHAR HEADSET_PROFILE_KEY[] = TEXT("\\Software\\HTC\\BTProfile");
inline constexpr WCHAR HEADSET_ON_VALUE[] = TEXT("ON");
inline constexpr WCHAR BLUETOOTH_HELPER_FORMAT[] = TEXT("%s\\Kestrow.exe");
inline constexpr WCHAR BLUETOOTH_COMMAND_FORMAT[] = TEXT("%d");

// Writes "ON" = the state for 0 and 1; any other state changes nothing. 0.
int SetHeadsetProfile(void* context, DWORD state);

// Starts the Bluetooth helper from the install folder with the state as
// its command line, without waiting. 0 whether or not it started.
int StartBluetoothHelper(DWORD state);

// The values of the hardware key (phone_hardware.h) that more than one of
// the CE layer's files read or write.
#pragma once

#include <windows.h>

namespace ce_layer {

inline const WCHAR kLineDevices[] = L"LineDevices";
inline const WCHAR kRadioEquipment[] = L"RadioEquipment";
inline const WCHAR kRadioRegistered[] = L"RadioRegistered";
inline const WCHAR kSimPin[] = L"SimPin";
inline const WCHAR kSimLocked[] = L"SimLocked";
// "microsoft" or "widcomm".
inline const WCHAR kBluetoothStack[] = L"BluetoothStack";
inline const WCHAR kBluetoothMode[] = L"BluetoothMode";
// The phone's screen, for the shell's full-screen dialogs.
inline const WCHAR kScreenWidth[] = L"ScreenWidth";
inline const WCHAR kScreenHeight[] = L"ScreenHeight";

}  // namespace ce_layer

// The Widcomm Bluetooth stack as the helper drives it: its "StackMode"
// registry value and its tray window's two commands.
#pragma once

#include <windows.h>

inline constexpr WCHAR WIDCOMM_GENERAL_KEY[] = TEXT("SOFTWARE\\Widcomm\\BtConfig\\General");
inline constexpr WCHAR WIDCOMM_STACK_MODE_VALUE[] = TEXT("StackMode");
inline constexpr WCHAR WIDCOMM_TRAY_CLASS[] = TEXT("WCE_BTTRAY");
inline constexpr WCHAR WIDCOMM_TRAY_TITLE[] = TEXT("Bluetooth Console");
#define WIDCOMM_COMMAND_STACK_OFF 0x1001
#define WIDCOMM_COMMAND_STACK_ON 0x1002

// Waiting for the stack to come on: passes of 100 ms; more than the
// patient number of passes counts as too slow.
#define WIDCOMM_WAIT_PASSES 50
#define WIDCOMM_PATIENT_PASSES 35
#define WIDCOMM_PASS_MS 100

#define WIDCOMM_SWITCHED 0
#define WIDCOMM_NO_KEY (-1)
#define WIDCOMM_NO_TRAY (-2)
#define WIDCOMM_TOO_SLOW (-3)

// The window whose messages the wait keeps dispatching (the hidden dialog).
extern HWND WidcommWaitWindow;

// 1 when the stack is on, 0 when off or unreadable, -1 without the key.
int ReadWidcommStackMode();

// Switches the stack on (waiting until it says so) or off. WIDCOMM_SWITCHED
// when done or nothing was to do, else WIDCOMM_NO_KEY, WIDCOMM_NO_TRAY or
// (switching on) WIDCOMM_TOO_SLOW.
int SwitchWidcommStack(BOOL on);

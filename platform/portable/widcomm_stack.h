// The Widcomm Bluetooth stack as a phone with it shows it to programs: its
// tray window, found by class and title, which takes two commands, and the
// registry value in which the stack reports whether it is on.
#pragma once

#include <string>

#include <windows.h>

namespace portable {

inline const WCHAR kWidcommTrayClass[] = TEXT("WCE_BTTRAY");
inline const WCHAR kWidcommTrayTitle[] = TEXT("Bluetooth Console");
// The tray window's WM_COMMAND identifiers.
inline const WORD kWidcommStackOff = 0x1001;
inline const WORD kWidcommStackOn = 0x1002;

// The journal line of a command the tray window receives.
std::string WidcommTrayCommandText(WORD command);

// Writes the stack's "StackMode" (1 on, 0 off), creating its key when
// missing.
void SetWidcommStackMode(DWORD mode);
// "StackMode" as 1 (on) or 0 (off or not a DWORD), -1 without the key.
int WidcommStackMode();

}  // namespace portable

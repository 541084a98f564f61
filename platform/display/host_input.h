// Input from the host (the SDL window): taps at phone pixels and typed text
// and keys, carried to the program on the screen that they are for, and
// there to the shell or to its windows.
#pragma once

#include <string>

namespace platform {

enum class HostKeyCode { Backspace, Enter, Tab, Left, Right };

// A tap on the shell (bars, input panel) is the shell's; any other reaches
// the window that lies under it.
void HostTap(int x, int y);
// Typed text (UTF-8): one character message per UTF-16 unit to the focused window.
void HostText(const std::string& utf8);
void HostKey(HostKeyCode key);
// The same in this program, when it is the top one.
void TypeHostUnit(char16_t unit);
void PressHostKey(HostKeyCode key);

}  // namespace platform

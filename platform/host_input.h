// Input from the host (the SDL window): taps at phone pixels and typed text
// and keys, carried to the shell or to the program's windows.
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

}  // namespace platform

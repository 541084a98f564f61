// Input from the host (the SDL window): taps at phone pixels and typed text
// and keys, carried to the program on the screen that they are for, and
// there to the shell or to its windows.
#pragma once

#include <string>

namespace platform {

// New keys are added at the end: the codes travel between programs.
enum class HostKeyCode { Backspace, Enter, Tab, Left, Right, Up, Down, PageUp, PageDown, Home, End, Escape };

// A tap on the shell (bars, input panel) is the shell's; any other reaches
// the window that lies under it.
void HostTap(int x, int y);
// Typed text (UTF-8): one character message per UTF-16 unit to the focused window.
void HostText(const std::string& utf8);
void HostKey(HostKeyCode key);
// The wheel turned by `lines` (negative: away from the user, up).
void HostWheel(int lines);
// The stylus moved to (x, y) while held down; lifted.
void HostDrag(int x, int y);
void HostRelease();
// The same in this program, when it is the top one.
void TypeHostUnit(char16_t unit);
void PressHostKey(HostKeyCode key);
void TurnHostWheel(int lines);
void DragHostStylus(int x, int y);
void ReleaseHostStylus();

}  // namespace platform

// The fixed sizes of the phone's screen parts that the window system and the
// shell both lay out by: the shell's top bar (title, clock, "ok") and its
// menu bar, which the work area of full-screen windows leaves free.
#pragma once

namespace platform {

constexpr int kTopBarHeight = 26;
constexpr int kMenuBarHeight = 26;

}  // namespace platform

// The dump of the phone's windows: every window and control on the screen
// with its state, front first, as one JSON object; each window names its
// program.
#pragma once

#include <string>

namespace platform {

std::string DumpWindows();
// This program's windows alone, as a JSON array (for the other programs' dumps).
std::string DumpOwnWindows();

}  // namespace platform

// The dump of a program's windows: every window and control with its state,
// as one JSON object.
#pragma once

#include <string>

namespace platform {

std::string DumpWindows();

}  // namespace platform

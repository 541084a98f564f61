// GetSystemMetrics: the screen's size from the device, and the fixed sizes
// of the phone's window parts.
#include "device/call_failure.h"
#include "device/device.h"
#include "include/winuser.h"

namespace {
// The phone's screens have a 240-pixel short side unless the device says otherwise.
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;
}  // namespace

int GetSystemMetrics(int index) try {
  switch (index) {
    case SM_CXSCREEN:
      return platform::DeviceInt("screen.width", kDefaultWidth);
    case SM_CYSCREEN:
      return platform::DeviceInt("screen.height", kDefaultHeight);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 13;
    case SM_CYCAPTION:
      return 26;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 2;
    default:
      return 0;
  }
} catch (...) {
  return platform::FailedCall(0);
}

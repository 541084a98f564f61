// GetSystemMetrics: the screen's size from the device, and the fixed sizes
// of the phone's window parts.
#include <cstdint>

#include <windows.h>

#include "../device/call_failure.h"
#include "../device/device.h"

namespace {
// The phone's screens have a 240-pixel short side unless the device says otherwise.
constexpr int kDefaultWidth = 240;
constexpr int kDefaultHeight = 320;

// The screen's size is fixed when the device is made, and asked for at
// every layout and paint: read once for each connection to the device.
struct ScreenSize {
  uint64_t connection = 0;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
};

const ScreenSize& DeviceScreenSize() {
  thread_local ScreenSize size;
  uint64_t connection = platform::DeviceDbSerial();
  if (size.connection != connection) {
    size.width = platform::DeviceInt("screen.width", kDefaultWidth);
    size.height = platform::DeviceInt("screen.height", kDefaultHeight);
    size.connection = connection;
  }
  return size;
}

}  // namespace

int GetSystemMetrics(int index) try {
  switch (index) {
    case SM_CXSCREEN:
      return DeviceScreenSize().width;
    case SM_CYSCREEN:
      return DeviceScreenSize().height;
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

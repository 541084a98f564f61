// The mode sections of the state command, read from the settings store as
// the Today item keeps it: the active mode, a pending temporary switch, and
// the next wake-up that the scheduler registered.
#include "tools/device/mode_state_sections.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/shell/timed_starts.h"
#include "platform/text/utf.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/root_values.h"
#include "store/temporary_switch.h"
#include "tools/device/reg_file.h"

namespace {

// `N "NAME"`, the name as the store holds it.
std::string ModeText(DWORD mode) {
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  return std::to_string(mode) + " \"" + platform::Utf16ToUtf8(name) + "\"";
}

// Why there is no active mode: "none" when "DefaultMode" is missing, else
// what it holds instead of a mode's number, as eight hex digits for a DWORD
// and as `reg get` prints it for anything else.
std::string NoActiveModeText() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return "none";
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::string data;
  LONG status = RegQueryValueExW(key, DEFAULT_MODE_VALUE, nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    data.assign(size, '\0');
    status = RegQueryValueExW(key, DEFAULT_MODE_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    data.resize(size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return "none";
  if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    DWORD value;
    std::memcpy(&value, data.data(), sizeof value);
    char text[32];
    std::snprintf(text, sizeof text, "none (stored value 0x%08X)", static_cast<unsigned>(value));
    return text;
  }
  return "none (stored value " + FormatValueData(type, data) + ", not a mode number)";
}

}  // namespace

void PrintActiveMode() {
  DWORD mode = ReadActiveMode();
  std::printf("active mode: %s\n", mode ? ModeText(mode).c_str() : NoActiveModeText().c_str());
}

void PrintTemporarySwitch() {
  PendingSwitch pending;
  FindPendingSwitch(&pending);
  if (!pending.Pending) {
    std::printf("temporary switch: none\n");
    return;
  }
  std::printf("temporary switch: back to %s at %02u:%02u\n", ModeText(pending.ModeBack).c_str(),
              static_cast<unsigned>(pending.StopHour), static_cast<unsigned>(pending.StopMinutes));
}

void PrintNextWakeUp() {
  auto starts = platform::TimedStarts();
  if (starts.empty()) {
    std::printf("next wake-up: none\n");
    return;
  }
  std::printf("next wake-up: %s \"%s\"\n", starts.front().time.c_str(), starts.front().path.c_str());
}

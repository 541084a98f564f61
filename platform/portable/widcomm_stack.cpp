// The Widcomm stack's registry state and the journal line of its tray
// window, on the registry calls of whichever Windows runs the phone.
#include "widcomm_stack.h"

#include <cstdio>

namespace portable {

namespace {

const WCHAR kWidcommGeneralKey[] = TEXT("SOFTWARE\\Widcomm\\BtConfig\\General");
const WCHAR kStackMode[] = TEXT("StackMode");

}  // namespace

std::string WidcommTrayCommandText(WORD command) {
  char text[48];
  std::snprintf(text, sizeof text, "WCE_BTTRAY WM_COMMAND 0x%X", command);
  return text;
}

void SetWidcommStackMode(DWORD mode) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kWidcommGeneralKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExW(key, kStackMode, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
  RegCloseKey(key);
}

int WidcommStackMode() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWidcommGeneralKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  DWORD mode = 0, type = 0, size = sizeof mode;
  if (RegQueryValueExW(key, kStackMode, nullptr, &type, reinterpret_cast<BYTE*>(&mode), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    mode = 0;
  RegCloseKey(key);
  return mode != 0 ? 1 : 0;
}

}  // namespace portable

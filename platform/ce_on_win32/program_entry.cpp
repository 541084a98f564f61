// The programs' entry on desktop Windows: the phone's start-up before the
// program's own WinMain (renamed PhoneWinMain by phone_names.h). The phone
// has the trackbar among its standard controls; desktop Windows registers it
// only when asked. Device paths ("\Program files\...") lie on the drive
// of the program itself, which becomes the current drive.
#include <commctrl.h>

#include "desktop_calls.h"

namespace {

void EnterProgramDrive() {
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length < 3 || length >= MAX_PATH || path[1] != L':' || path[2] != L'\\') return;
  path[3] = 0;
  SetCurrentDirectoryW(path);
}

}  // namespace

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  EnterProgramDrive();
  return PhoneWinMain(instance, previous, commandLine, show);
}

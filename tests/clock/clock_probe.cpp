// The clock probe: prints "NAME YYYY-MM-DD HH:MM:SS" with the local time it
// sees. Its command line is NAME, or "NAME WAIT PATH [join]": sleep WAIT
// milliseconds, then start the device program PATH with "child" (with
// "join", wait for it to end) and print.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <windows.h>

#include "platform/kernel/clock.h"
#include "platform/text/utf.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  char name[32] = "";
  unsigned long wait = 0;
  char path[256] = "";
  char join[8] = "";
  const int words =
      std::sscanf(platform::Utf16ToUtf8(commandLine).c_str(), "%31s %lu %255s %7s", name, &wait, path, join);
  if (std::getenv(platform::kStartTimeVariable)) std::printf("%s sees %s\n", name, platform::kStartTimeVariable);
  if (words >= 3) {
    Sleep(wait);
    std::u16string program = platform::Utf8ToUtf16(path);
    WCHAR child[] = u"child";
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(program.c_str(), child, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started))
      return 2;
    if (std::string(join) == "join" && WaitForSingleObject(started.hProcess, INFINITE) != WAIT_OBJECT_0) return 3;
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
  }
  SYSTEMTIME t;
  GetLocalTime(&t);
  std::printf("%s %04u-%02u-%02u %02u:%02u:%02u\n", name, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  std::fflush(stdout);
  return 0;
}

// Timed starts: CeRunAppAtTime keeps one registration per program path in
// the hardware key's "Timed Starts" (value name the path, compared without
// regard to case as registry names are; data its local time
// "YYYY-MM-DD HH:MM:SS"), and the shell of the Today program starts each
// program when its time comes, with the command line "AppRunAtTime".
#include <algorithm>
#include <string>
#include <vector>

#include <emulated_shell.h>
#include <notify.h>

#include "../portable/timed_start_time.h"
#include "desktop_calls.h"
#include "phone_hardware.h"

namespace {

const WCHAR kTimedStartsSection[] = L"Timed Starts";
const WCHAR kTimedStartCommandLine[] = L"AppRunAtTime";
// Registrations are to the second; a look a second finds each on time.
const UINT kCheckMs = 1000;

HWND g_notify = nullptr;

struct TimedStart {
  std::wstring path;
  std::string time;
};

std::vector<TimedStart> Registrations() {
  std::vector<TimedStart> starts;
  HKEY key = nullptr;
  const std::wstring path = std::wstring(ce_layer::kPhoneKey) + L"\\" + kTimedStartsSection;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return starts;
  for (DWORD index = 0;; ++index) {
    WCHAR name[MAX_PATH + 1];
    WCHAR data[64];
    DWORD nameUnits = MAX_PATH + 1, dataBytes = sizeof data - sizeof(WCHAR), type = 0;
    if (RegEnumValueW(key, index, name, &nameUnits, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes) !=
        ERROR_SUCCESS)
      break;
    if (type != REG_SZ) continue;
    data[dataBytes / sizeof(WCHAR)] = 0;
    starts.push_back({name, ce_layer::ToUtf8(data)});
  }
  RegCloseKey(key);
  return starts;
}

// Starts every program whose time has come, earliest first; each
// registration is used up by its start.
void CALLBACK StartDuePrograms(HWND, UINT, UINT_PTR, DWORD) {
  SYSTEMTIME nowTime;
  PhoneGetLocalTime(&nowTime);
  const std::string now = portable::TimedStartTimeText(nowTime);
  std::vector<TimedStart> due;
  for (const TimedStart& start : Registrations())
    if (start.time <= now) due.push_back(start);  // the text sorts as the time does
  std::sort(due.begin(), due.end(), [](const TimedStart& a, const TimedStart& b) { return a.time < b.time; });
  bool started = false;
  for (const TimedStart& start : due) {
    ce_layer::DeletePhoneValue(kTimedStartsSection, start.path.c_str());
    ce_layer::JournalAppend("AppRunAtTime \"" + ce_layer::ToUtf8(start.path) + "\" " + now);
    std::wstring commandLine = kTimedStartCommandLine;
    if (PhoneCreateProcessW(start.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            nullptr, nullptr))
      started = true;
  }
  if (started && g_notify) PostMessageW(g_notify, WM_SHELL_TIMED_START, 0, 0);
}

}  // namespace

BOOL CeRunAppAtTime(LPCWSTR appName, SYSTEMTIME* time) {
  if (!appName || !*appName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // One registration per path, "/" and "\" alike.
  std::wstring path = appName;
  for (WCHAR& c : path)
    if (c == L'/') c = L'\\';
  const std::string entry = "CeRunAppAtTime \"" + ce_layer::ToUtf8(appName) + "\" ";
  if (!time) {
    ce_layer::DeletePhoneValue(kTimedStartsSection, path.c_str());
    ce_layer::JournalAppend(entry + "none");
    return TRUE;
  }
  const std::string when = portable::TimedStartTimeText(*time);
  if (!portable::IsTimedStartTime(*time)) {
    ce_layer::JournalAppend(entry + when + " failed");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Deleted first, so that the path keeps the case of its last call.
  ce_layer::DeletePhoneValue(kTimedStartsSection, path.c_str());
  ce_layer::SetPhoneText(kTimedStartsSection, path.c_str(), ce_layer::FromUtf8(when));
  ce_layer::JournalAppend(entry + when);
  return TRUE;
}

BOOL ShellStartTimedPrograms(HWND notify) {
  g_notify = notify;
  StartDuePrograms(nullptr, 0, 0, 0);
  return SetTimer(nullptr, 0, kCheckMs, StartDuePrograms) != 0;
}
